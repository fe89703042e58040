// kzpde server lists: the lists a print server offers, fetched over SOAP as
// the panel's rows.
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "Common/WebService/ServerListFetch.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/PropertyList.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

struct Options {
    std::string host;
    int port = kzp::WebServiceClient::kServicePort;
    std::vector<std::string> names;
    double timeout = kzp::ServerListFetch::kDefaultDeadline;
};

int serverLists(const Options& o, kzpde::Invocation& inv) {
    std::vector<std::string> names = o.names;
    if (names.empty()) names = kzp::WebServiceClient::queryNames();
    for (const auto& n : names) {
        bool known = false;
        for (const auto& q : kzp::WebServiceClient::queryNames()) known = known || q == n;
        if (!known) {
            inv.err << "kzpde server lists: unknown list '" << n << "'\n";
            return kzpde::kUsage;
        }
    }
    kzp::WebServiceClient::setHostApplicationName("kzpde");
    kzp::ServerListFetch fetch(o.host, o.port);
    fetch.setDeadline(o.timeout);
    const kzp::ServerListFetch::Result got = fetch.fetch(names);
    kz::Dictionary result;
    for (const auto& [name, list] : got.lists) {
        kz::Array rows;
        for (const auto& row : list) {
            kz::Array cells;
            for (const auto& cell : row) cells.emplace_back(cell);
            rows.emplace_back(std::move(cells));
        }
        result.set(name, std::move(rows));
    }
    inv.out << kz::PropertyList::toXml(kz::Value(std::move(result)));
    for (const auto& failure : got.failures) inv.err << "kzpde server lists: " << fetch.describe(failure) << "\n";
    return got.complete() ? kzpde::kOk : kzpde::kFailure;
}

const kzpde::Command::Registration serverListsCommand{{
    "server lists",
    "fetch the server lists from a print server",
    "Asks the print service at H (port 8888 unless given) for each list NAME\n"
    "(StackerInfoList, FeederInfoList, DeviceList, JobFolder, PrePostDevice,\n"
    "JobResource-NOTE ... JobResource-IMPOSITION, Font, DensityAdjustProfile,\n"
    "UserTrcProfile, DeviceLinkFile, CalibFile; all without --list) and prints\n"
    "the rows as a property list: a dictionary from list name to rows of texts.\n\n"
    "A list that does not come whole is left out of it and told on standard\n"
    "error, one line per list: the list, the server and the reason (refused,\n"
    "timed out, not SOAP, too large, cut off, \"fault: TEXT\", no answer in the\n"
    "reply, error status). The whole run takes at most S seconds (60 unless\n"
    "given): the lists are asked one after another, and those still unasked\n"
    "when the time is up fail as timed out. Exit status 0 when every list came,\n"
    "1 when any did not (the lists that came are printed all the same), 2 for a\n"
    "usage error.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        kzpde::DeclaredOptions::text(app, "--host", o->host, "H", "the print server")->required();
        kzpde::DeclaredOptions::port(app, o->port, "the print service's port (8888)");
        app.add_option("--list", o->names, "only this list (every list by default)")->type_name("NAME");
        kzpde::DeclaredOptions::timeout(app, o->timeout);
        return [o](kzpde::Invocation& inv) { return serverLists(*o, inv); };
    },
}};

}  // namespace
