// kzpde server lists: the lists a print server offers, fetched over SOAP as
// the panel's rows.
#include <ostream>

#include "Command.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/PropertyList.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

int serverLists(kzpde::Invocation& inv) {
    std::optional<std::string> host;
    int port = kzp::WebServiceClient::kServicePort;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < inv.args.size(); ++i) {
        const std::string& a = inv.args[i];
        if (i + 1 >= inv.args.size()) {
            inv.err << "usage: kzpde server lists --host H [--port P] [--list NAME]...\n";
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
        } else if (a == "--list") {
            names.push_back(inv.args[++i]);
        } else {
            inv.err << "usage: kzpde server lists --host H [--port P] [--list NAME]...\n";
            return kzpde::kUsage;
        }
    }
    if (!host || host->empty()) {
        inv.err << "usage: kzpde server lists --host H [--port P] [--list NAME]...\n";
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
    "usage: kzpde server lists --host H [--port P] [--list NAME]...\n\n"
    "Asks the print service at H (port 8888 unless given) for each list NAME\n"
    "(StackerInfoList, FeederInfoList, DeviceList, JobFolder, PrePostDevice,\n"
    "JobResource-NOTE ... JobResource-IMPOSITION, Font, DensityAdjustProfile,\n"
    "UserTrcProfile, DeviceLinkFile, CalibFile; all without --list) and prints\n"
    "the rows as a property list: a dictionary from list name to rows of texts.\n"
    "A server that cannot be reached gives empty lists.\n",
    serverLists,
}};

}  // namespace
