// kzpde server lists: the lists a print server offers, fetched over SOAP as
// the panel's rows.
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "Command.h"
#include "Common/WebService/ServerListFetch.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/PropertyList.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr const char* kUsageLine = "usage: kzpde server lists --host H [--port P] [--list NAME]... [--timeout S]\n";

int serverLists(kzpde::Invocation& inv) {
    std::optional<std::string> host;
    int port = kzp::WebServiceClient::kServicePort;
    std::vector<std::string> names;
    double timeout = kzp::ServerListFetch::kDefaultDeadline;
    for (std::size_t i = 0; i < inv.args.size(); ++i) {
        const std::string& a = inv.args[i];
        if (i + 1 >= inv.args.size()) {
            inv.err << kUsageLine;
            return kzpde::kUsage;
        }
        if (a == "--host") {
            host = inv.args[++i];
        } else if (a == "--port") {
            const std::string& p = inv.args[++i];
            port = kz::intValueOfText(p);
            if (port <= 0 || port > 65535 || p.find_first_not_of("0123456789") != std::string::npos) {
                inv.err << "kzpde server lists: bad port '" << p << "'\n";
                return kzpde::kUsage;
            }
        } else if (a == "--timeout") {
            const std::string& t = inv.args[++i];
            char* end = nullptr;
            timeout = std::strtod(t.c_str(), &end);
            if (t.empty() || *end || !std::isfinite(timeout) || timeout <= 0 || timeout > 86400) {
                inv.err << "kzpde server lists: bad timeout '" << t << "' (seconds, above 0)\n";
                return kzpde::kUsage;
            }
        } else if (a == "--list") {
            names.push_back(inv.args[++i]);
        } else {
            inv.err << kUsageLine;
            return kzpde::kUsage;
        }
    }
    if (!host || host->empty()) {
        inv.err << kUsageLine;
        return kzpde::kUsage;
    }
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
    kzp::ServerListFetch fetch(*host, port);
    fetch.setDeadline(timeout);
    kzp::ServerListFetch::Result got = fetch.fetch(names);
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
    std::string(kUsageLine) + "\n"
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
    serverLists,
}};

}  // namespace
