// kzpde queue add|remove|list: the product's CUPS queues for print servers.
// The arguments are read into ProductQueues' options here; the work is
// ProductQueues'. Bad arguments are bad input like any other here: one line
// why, exit status 1.
#include <optional>
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "ProductQueues.h"

namespace {

constexpr const char* kAddUsage =
    "usage: kzpde queue add NAME --server HOST[:PORT] [--printer SERVERQUEUE] [--service-port P] [--hold]\n";
constexpr const char* kRemoveUsage = "usage: kzpde queue remove NAME\n";
constexpr const char* kListUsage = "usage: kzpde queue list [--json]\n";

std::nullopt_t refuse(std::string* why, std::string reason) {
    *why = std::move(reason);
    return std::nullopt;
}

std::optional<int> portOf(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const int port = std::stoi(text);
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

// The arguments of `queue add`; nullopt with the reason in *why.
std::optional<kzpde::ProductQueues::AddOptions> parseAdd(const std::vector<std::string>& args, std::string* why) {
    kzpde::ProductQueues::AddOptions o;
    bool named = false, server = false, printer = false, servicePort = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--hold") {
            o.hold = true;
            continue;
        }
        if (a == "--server" || a == "--printer" || a == "--service-port") {
            if (i + 1 >= args.size()) return refuse(why, a + " wants a value");
            bool& seen = a == "--server" ? server : a == "--printer" ? printer : servicePort;
            if (seen) return refuse(why, a + " is given twice");
            seen = true;
            const std::string& value = args[++i];
            if (a == "--server") {
                o.server = value;
            } else if (a == "--printer") {
                o.printer = value;
            } else if (std::optional<int> port = portOf(value)) {
                o.servicePort = *port;
            } else {
                return refuse(why, "the service port '" + value + "' is not 1 to 65535");
            }
            continue;
        }
        if (a.starts_with("-")) return refuse(why, "unknown option '" + a + "'");
        if (named) return refuse(why, "one queue NAME only ('" + o.name + "', then '" + a + "')");
        o.name = a;
        named = true;
    }
    if (!named) return refuse(why, "no queue NAME");
    if (!server) return refuse(why, "no --server HOST[:PORT]");
    return o;
}

// The one NAME of `queue remove`.
std::optional<std::string> parseRemove(const std::vector<std::string>& args, std::string* why) {
    for (const std::string& a : args)
        if (a.starts_with("-")) return refuse(why, "unknown option '" + a + "'");
    if (args.size() != 1) return refuse(why, args.empty() ? "no queue NAME" : "one queue NAME only");
    return args.front();
}

// Whether `queue list` wants JSON.
std::optional<bool> parseList(const std::vector<std::string>& args, std::string* why) {
    bool json = false;
    for (const std::string& a : args) {
        if (a != "--json") return refuse(why, (a.starts_with("-") ? "unknown option '" : "unexpected argument '") + a + "'");
        json = true;
    }
    return json;
}

int usageError(kzpde::Invocation& inv, const char* command, const std::string& why, const char* usage) {
    const std::string synopsis(usage);
    inv.err << "kzpde queue " << command << ": " << why << " (" << synopsis.substr(0, synopsis.size() - 1) << ")\n";
    return kzpde::kFailure;
}

int add(kzpde::Invocation& inv) {
    std::string why;
    std::optional<kzpde::ProductQueues::AddOptions> options = parseAdd(inv.args, &why);
    if (!options) return usageError(inv, "add", why, kAddUsage);
    return kzpde::ProductQueues::add(*options, kzpde::BundleLocation::path(), inv.out, inv.err);
}

int remove(kzpde::Invocation& inv) {
    std::string why;
    std::optional<std::string> name = parseRemove(inv.args, &why);
    if (!name) return usageError(inv, "remove", why, kRemoveUsage);
    return kzpde::ProductQueues::remove(*name, kzpde::BundleLocation::path(), inv.out, inv.err);
}

int list(kzpde::Invocation& inv) {
    std::string why;
    std::optional<bool> json = parseList(inv.args, &why);
    if (!json) return usageError(inv, "list", why, kListUsage);
    return kzpde::ProductQueues::list(*json, kzpde::BundleLocation::path(), inv.out, inv.err);
}

const kzpde::Command::Registration addCommand{{
    "queue add",
    "make a CUPS queue for a print server from the product PPD",
    std::string(kAddUsage) +
        "\n"
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
    add,
}};

const kzpde::Command::Registration removeCommand{{
    "queue remove",
    "delete a CUPS queue of the product",
    std::string(kRemoveUsage) +
        "\n"
        "Deletes the product queue NAME (one `kzpde queue list` shows; other queues\n"
        "are refused). Exit status 0 when it was deleted, 1 with one line why.\n",
    remove,
}};

const kzpde::Command::Registration listCommand{{
    "queue list",
    "list the product's CUPS queues",
    std::string(kListUsage) +
        "\n"
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
    list,
}};

}  // namespace
