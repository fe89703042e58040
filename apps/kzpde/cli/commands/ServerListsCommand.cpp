// kzpde server lists: the lists a print server offers, fetched over SOAP as
// the panel's rows.
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/PropertyList.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

struct Options {
    std::string host;
    int port = kzp::WebServiceClient::kServicePort;
    std::vector<std::string> names;
};

int serverLists(const Options& o, kzpde::Invocation& inv) {
    const std::optional<std::string> host = o.host;
    const int port = o.port;
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
    kzp::WebServiceClient client(port);
    kz::Dictionary result;
    for (const auto& n : names) {
        kz::Array rows;
        for (const auto& row : client.listNamed(n, host).value_or(kzp::WebServiceClient::Rows{})) {
            kz::Array cells;
            for (const auto& cell : row) cells.emplace_back(cell);
            rows.emplace_back(std::move(cells));
        }
        result.set(n, std::move(rows));
    }
    inv.out << kz::PropertyList::toXml(kz::Value(std::move(result)));
    return kzpde::kOk;
}

const kzpde::Command::Registration serverListsCommand{{
    "server lists",
    "fetch the server lists from a print server",
    "Asks the print service at H (port 8888 unless given) for each list NAME\n"
    "(StackerInfoList, FeederInfoList, DeviceList, JobFolder, PrePostDevice,\n"
    "JobResource-NOTE ... JobResource-IMPOSITION, Font, DensityAdjustProfile,\n"
    "UserTrcProfile, DeviceLinkFile, CalibFile; all without --list) and prints\n"
    "the rows as a property list: a dictionary from list name to rows of texts.\n"
    "A server that cannot be reached gives empty lists.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        kzpde::DeclaredOptions::text(app, "--host", o->host, "H", "the print server")->required();
        kzpde::DeclaredOptions::port(app, o->port, "the print service's port (8888)");
        app.add_option("--list", o->names, "only this list (every list by default)")->type_name("NAME");
        return [o](kzpde::Invocation& inv) { return serverLists(*o, inv); };
    },
}};

}  // namespace
