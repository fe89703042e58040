// kzpde server refresh: the server lists of a CUPS queue's PPD, fetched anew
// from the print server and installed with the PPD.
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/BundleLocation.h"
#include "support/ServerRefresh.h"
#include "platform/foundation/Value.h"

namespace {

kzpde::Runner declare(CLI::App& app) {
    auto request = std::make_shared<kzpde::ServerRefresh::Request>();
    auto all = std::make_shared<bool>(false);
    CLI::Option* printer = kzpde::DeclaredOptions::text(app, "--printer", request->printer, "NAME", "the CUPS queue");
    CLI::Option* every = app.add_flag("--all", *all, "every queue of the product, each from its own print server");
    CLI::Option* server =
        app.add_option_function<std::string>("--server", [request](const std::string& host) { request->server = host; },
                                             "the print server (by default the host of the queue's device address)")
            ->type_name("HOST")
            ->check(CLI::Validator([](std::string& text) { return text.empty() ? "is empty" : std::string(); }, "", ""));
    CLI::Option* port = kzpde::DeclaredOptions::port(app, request->port, "the print service's port (8888)");
    kzpde::DeclaredOptions::timeout(app, request->timeout);
    // Each queue of --all has its own server.
    every->excludes(printer)->excludes(server)->excludes(port);
    // One of --printer and --all, checked with the other usage errors.
    app.callback([printer, every] {
        if (printer->count() == 0 && every->count() == 0) throw CLI::RequiredError("--printer or --all");
    });
    return [request, all](kzpde::Invocation& inv) {
        if (*all) return kzpde::ServerRefresh::runAll(request->timeout, kzpde::BundleLocation::path(), inv.out, inv.err);
        return kzpde::ServerRefresh::run(*request, inv.out, inv.err);
    };
}

const kzpde::Command::Registration serverRefreshCommand{{
    "server refresh",
    "fetch a CUPS queue's (or every product queue's) server lists anew and install them",
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
        "reason on standard error), 2 for a usage error.\n\n"
        "--all does this for every queue of the product (those `kzpde queue list`\n"
        "shows), each from the print server of its own device address, at most 4\n"
        "servers asked at once, each under the deadline S, each queue installed only\n"
        "when all its lists came. One line per queue, in the order of `queue list`:\n"
        "\"NAME: refreshed (lists from HOST:PORT)\", \"NAME: unchanged (lists from\n"
        "HOST:PORT)\" when the lists are the ones the PPD had, or \"NAME: failed:\n"
        "REASON\" (that queue keeps its PPD and lists). An unchanged queue's PPD is\n"
        "installed again all the same with the new time of the fetch, so that\n"
        "*KZListsFetched always tells the last fetch that came whole, and a queue\n"
        "whose server stopped answering shows its age in `queue list`. Exit status\n"
        "1 when any queue failed, naming the failed ones on standard error; the\n"
        "systemd timer kzpde-refresh.timer runs this daily.\n",
    declare,
}};

}  // namespace
