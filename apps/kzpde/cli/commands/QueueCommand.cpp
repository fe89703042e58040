// kzpde queue add|remove|list: the product's CUPS queues for print servers.
// The declarations read the arguments into ProductQueues' options; the work
// is ProductQueues'. Bad arguments are bad input like any other here: one
// line why, exit status 1.
#include <memory>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "support/BundleLocation.h"
#include "support/ProductQueues.h"

namespace {

kzpde::Runner declareAdd(CLI::App& app) {
    auto o = std::make_shared<kzpde::ProductQueues::AddOptions>();
    app.add_option("NAME", o->name, "the new queue's name")->required();
    kzpde::DeclaredOptions::text(app, "--server", o->server, "HOST[:PORT]",
                                 "the print server (its IPP port 631 unless given)")
        ->required();
    kzpde::DeclaredOptions::text(app, "--printer", o->printer, "SERVERQUEUE",
                                 "the server's queue (KZPrintServer unless given)");
    kzpde::DeclaredOptions::port(app, o->servicePort, "the print service's SOAP port (8888 unless given)",
                                 "--service-port");
    app.add_flag("--hold", o->hold, "hold every job of the queue until it is released");
    return [o](kzpde::Invocation& inv) {
        return kzpde::ProductQueues::add(*o, kzpde::BundleLocation::path(), inv.out, inv.err);
    };
}

kzpde::Runner declareRemove(CLI::App& app) {
    auto name = std::make_shared<std::string>();
    app.add_option("NAME", *name, "the product queue to delete")->required();
    return [name](kzpde::Invocation& inv) {
        return kzpde::ProductQueues::remove(*name, kzpde::BundleLocation::path(), inv.out, inv.err);
    };
}

kzpde::Runner declareList(CLI::App& app) {
    auto json = std::make_shared<bool>(false);
    kzpde::DeclaredOptions::json(app, *json, "print an array of objects (below)");
    return [json](kzpde::Invocation& inv) {
        return kzpde::ProductQueues::list(*json, kzpde::BundleLocation::path(), inv.out, inv.err);
    };
}

const kzpde::Command::Registration addCommand{{
    "queue add",
    "make a CUPS queue for a print server from the product PPD",
    "Makes the CUPS queue NAME for the print server HOST (a name, an IPv4\n"
    "address or an [IPv6] address; its IPP port 631 unless PORT is given):\n"
    "the product PPD of the bundle, the device address\n"
    "kzps://HOST[:PORT]/printers/SERVERQUEUE[?service-port=P] that the product's\n"
    "backend sends jobs by (the server's queue KZPrintServer unless --printer;\n"
    "the print service's SOAP port 8888 unless --service-port), enabled and\n"
    "accepting jobs. With --hold every job of the queue is held\n"
    "(job-hold-until-default=indefinite) until it is released.\n\n"
    "The server lists are fetched into the queue's PPD as `kzpde server refresh`\n"
    "does when the print service answers; when it does not, the queue is made\n"
    "all the same with the product's lists and one warning on standard error.\n"
    "Works on the scheduler CUPS_SERVER names, a remote one too; it must let\n"
    "this user add queues (a password it asks for is read from the terminal).\n\n"
    "Exit status 0 when the queue was made; 1 with one line why on standard\n"
    "error for bad arguments, a name CUPS refuses, an existing queue or the\n"
    "scheduler refusing; nothing half-made stays behind.\n",
    declareAdd,
    kzpde::kFailure,
}};

const kzpde::Command::Registration removeCommand{{
    "queue remove",
    "delete a CUPS queue of the product",
    "Deletes the product queue NAME (one `kzpde queue list` shows; other queues\n"
    "are refused). Exit status 0 when it was deleted, 1 with one line why.\n",
    declareRemove,
    kzpde::kFailure,
}};

const kzpde::Command::Registration listCommand{{
    "queue list",
    "list the product's CUPS queues",
    "Lists the queues of the product (device address kzps://..., or the product\n"
    "PPD's model) on the scheduler CUPS_SERVER names, by name, in columns: NAME,\n"
    "SERVER (HOST[:PORT]/SERVERQUEUE, \"?\" for an address that does not read),\n"
    "HOLD (the queue's job-hold-until-default: \"indefinite\" holds every job,\n"
    "\"no-hold\" none) and LISTS FETCHED (when `kzpde queue add` or `kzpde server\n"
    "refresh` last fetched the server lists, UTC, or \"never\").\n\n"
    "--json prints an array with one object per queue:\n"
    "  {\"name\": text, \"deviceURI\": text, \"server\": \"HOST[:PORT]\",\n"
    "   \"host\": text, \"ippPort\": number, \"printer\": SERVERQUEUE,\n"
    "   \"servicePort\": number, \"hold\": text,\n"
    "   \"listsFetched\": \"YYYY-MM-DDThh:mm:ssZ\" or null}\n"
    "(server, host, ippPort, printer and servicePort are null for an address\n"
    "that does not read). Exit status 0, or 1 when the scheduler cannot be asked.\n",
    declareList,
    kzpde::kFailure,
}};

}  // namespace
