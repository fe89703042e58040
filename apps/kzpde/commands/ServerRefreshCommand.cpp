// kzpde server refresh: the server lists of a CUPS queue's PPD, fetched anew
// from the print server and installed with the PPD.
#include <cmath>
#include <cstdlib>
#include <ostream>

#include "Command.h"
#include "ServerRefresh.h"
#include "platform/foundation/Value.h"

namespace {

constexpr const char* kUsageLine =
    "usage: kzpde server refresh --printer NAME [--server HOST] [--port P] [--timeout S]\n";

int refresh(kzpde::Invocation& inv) {
    kzpde::ServerRefresh::Request request;
    bool named = false;
    for (std::size_t i = 0; i < inv.args.size(); ++i) {
        const std::string& a = inv.args[i];
        if (i + 1 >= inv.args.size() || (a != "--printer" && a != "--server" && a != "--port" && a != "--timeout")) {
            inv.err << kUsageLine;
            return kzpde::kUsage;
        }
        const std::string& value = inv.args[++i];
        if (a == "--printer") {
            if (named || value.empty()) {
                inv.err << kUsageLine;
                return kzpde::kUsage;
            }
            request.printer = value;
            named = true;
        } else if (a == "--server") {
            if (request.server || value.empty()) {
                inv.err << kUsageLine;
                return kzpde::kUsage;
            }
            request.server = value;
        } else if (a == "--timeout") {
            char* end = nullptr;
            request.timeout = std::strtod(value.c_str(), &end);
            if (value.empty() || *end || !std::isfinite(request.timeout) || request.timeout <= 0 ||
                request.timeout > 86400) {
                inv.err << "kzpde server refresh: bad timeout '" << value << "' (seconds, above 0)\n";
                return kzpde::kUsage;
            }
        } else {
            const int port = kz::intValueOfText(value);
            if (port <= 0 || port > 65535 || value.find_first_not_of("0123456789") != std::string::npos) {
                inv.err << "kzpde server refresh: bad port '" << value << "'\n";
                return kzpde::kUsage;
            }
            request.port = port;
        }
    }
    if (!named) {
        inv.err << kUsageLine;
        return kzpde::kUsage;
    }
    return kzpde::ServerRefresh::run(request, inv.out, inv.err);
}

const kzpde::Command::Registration serverRefreshCommand{{
    "server refresh",
    "fetch a CUPS queue's server lists anew and install them with its PPD",
    std::string(kUsageLine) +
        "\n"
        "Keeps the server lists of the CUPS queue NAME current: asks the print\n"
        "service for every list (StackerInfoList ... CalibFile, as `kzpde server\n"
        "lists` prints them), writes them into a copy of the queue's PPD as the panel\n"
        "reads them (as `kzpde ppd embed-lists` does), and installs that PPD into the\n"
        "queue through the scheduler (CUPS-Add-Modify-Printer with the PPD, as\n"
        "`lpadmin -P` does; the scheduler must let this user change the queue, and\n"
        "a password it asks for is read from the terminal, never from other input).\n"
        "The print server is HOST, else the host of the queue's device address by the\n"
        "panel's rule (\"v1.NAME+REST\" is the server \"NAME%REST\"); the print service\n"
        "listens on port 8888 unless P is given.\n\n"
        "All or nothing: when a list does not come (refused, timed out, not SOAP, too\n"
        "large, cut off, a fault, an error status; one line each on standard error),\n"
        "or the new PPD does not read back, or the\n"
        "scheduler refuses it, nothing is installed and the queue keeps its PPD with\n"
        "the lists it had: lists a passing fault emptied would be worse than lists a\n"
        "little old. A list the server answers as empty is stored empty. Fetching\n"
        "the lists takes at most S seconds (60 unless given).\n\n"
        "Prints the server, each list with its number of rows, and the queue the PPD\n"
        "went to. Exit status 0 when the PPD was installed, 1 when it was not (the\n"
        "reason on standard error), 2 for a usage error.\n",
    refresh,
}};

}  // namespace
