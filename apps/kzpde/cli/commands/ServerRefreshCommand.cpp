// kzpde server refresh: the server lists of a CUPS queue's PPD, fetched anew
// from the print server and installed with the PPD.
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/ServerRefresh.h"
#include "platform/foundation/Value.h"

namespace {

kzpde::Runner declare(CLI::App& app) {
    auto request = std::make_shared<kzpde::ServerRefresh::Request>();
    kzpde::DeclaredOptions::text(app, "--printer", request->printer, "NAME", "the CUPS queue")->required();
    app.add_option_function<std::string>("--server", [request](const std::string& host) { request->server = host; },
                                         "the print server (by default the host of the queue's device address)")
        ->type_name("HOST")
        ->check(CLI::Validator([](std::string& text) { return text.empty() ? "is empty" : std::string(); }, "", ""));
    kzpde::DeclaredOptions::port(app, request->port, "the print service's port (8888)");
    kzpde::DeclaredOptions::timeout(app, request->timeout);
    return [request](kzpde::Invocation& inv) { return kzpde::ServerRefresh::run(*request, inv.out, inv.err); };
}

const kzpde::Command::Registration serverRefreshCommand{{
    "server refresh",
    "fetch a CUPS queue's server lists anew and install them with its PPD",
        "Keeps the server lists of the CUPS queue NAME current: asks the print\n"
        "service for every list (StackerInfoList ... CalibFile, as `kzpde server\n"
        "lists` prints them), writes them into a copy of the queue's PPD as the panel\n"
        "reads them (as `kzpde ppd embed-lists` does), and installs that PPD into the\n"
        "queue through the scheduler (CUPS-Add-Modify-Printer with the PPD, as\n"
        "`lpadmin -P` does; the scheduler must let this user change the queue, and\n"
        "a password it asks for is read from the terminal, never from other input).\n"
        "The print server is HOST, else the host of the queue's device address\n"
        "(kzps://HOST[:PORT]/printers/QUEUE[?service-port=P], or by the panel's old\n"
        "rule for another scheme: \"v1.NAME+REST\" is the server \"NAME%REST\"); the\n"
        "print service listens on port P when given, else on the address's\n"
        "service-port, else on 8888. The PPD also keeps the time of the fetch\n"
        "(*KZListsFetched, UTC), which `kzpde queue list` shows.\n\n"
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
    declare,
}};

}  // namespace
