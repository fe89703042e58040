// kzpde favorite publish NAME --printer QUEUE [--remove]: a favorite as the
// CUPS instance QUEUE/NAME, so that every dialog and `lp -d QUEUE/NAME`
// print with it.
#include <optional>
#include <ostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "host/AnswerDriver.h"
#include "host/HostSession.h"
#include "platform/printing/CupsInstances.h"

namespace {

struct Options {
    std::string name, queue, bundlePath;
    bool remove = false;
};

int fail(kzpde::Invocation& inv, const std::string& message) {
    inv.err << "kzpde favorite publish: " << message << "\n";
    return kzpde::kFailure;
}

// The job options `kzpde print --favorite NAME` sends to QUEUE, from the
// panel with the favorite chosen and saved; nullopt when the favorite is
// not there or its options do not stand as they are (the reason told).
std::optional<kz::JobOptions> favoriteJobOptions(const Options& o, kzpde::Invocation& inv) {
    kzpde::HostRequest request;
    request.bundlePath = o.bundlePath;
    request.printer = o.queue;
    request.favorite = o.name;
    request.needsQueue = true;
    // No one is there to answer: a question the favorite raises refuses it.
    request.answers = {false};
    kzpde::HostSession session;
    std::ostringstream err;
    const int status = session.run(request, "favorite publish", err);
    if (status == kzpde::kUsage) {
        fail(inv, "there is no favorite named '" + o.name + "'");
        return std::nullopt;
    }
    if (status != kzpde::kOk) {
        inv.err << err.str();
        return std::nullopt;
    }
    // A favorite the panel's rules answer with a message or a question
    // would not print as it stands: its options are not what it says.
    if (!session.dialogs().empty()) {
        const std::string text = kzpde::dialogTextOnOneLine(session.dialogs().front().dialog.text);
        fail(inv, "the favorite '" + o.name + "' does not pass the panel's rules: " + session.secrets().redact(text));
        return std::nullopt;
    }
    return session.jobOptions();
}

int run(const Options& o, kzpde::Invocation& inv) {
    if (o.queue.find('/') != std::string::npos) {
        inv.err << "kzpde favorite publish: --printer " << o.queue << ": name a queue, not an instance\n";
        return kzpde::kUsage;
    }
    std::string error;
    if (!kz::CupsInstances::isInstanceName(o.name, &error)) return fail(inv, o.name + ": " + error);
    const std::string instance = o.queue + "/" + o.name;
    const std::string file = kz::CupsInstances::lpoptionsPath();
    if (o.remove) {
        if (kz::CupsInstances::remove(CUPS_HTTP_DEFAULT, o.queue, o.name, &error) != kz::CupsInstances::Outcome::Done)
            return fail(inv, error);
        inv.out << "removed " << instance << " from " << file << "\n";
        return kzpde::kOk;
    }
    std::optional<kz::JobOptions> options = favoriteJobOptions(o, inv);
    if (!options) return kzpde::kFailure;
    if (kz::CupsInstances::save(CUPS_HTTP_DEFAULT, o.queue, o.name, *options, &error) !=
        kz::CupsInstances::Outcome::Done)
        return fail(inv, instance + ": " + error);
    inv.out << "published " << instance << " in " << file << "\n";
    for (const auto& option : options->options()) inv.out << "  " << option.name << "=" << option.value << "\n";
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "favorite publish",
    "make a favorite a CUPS instance (QUEUE/NAME) that every application prints with",
    "Opens the panel on the CUPS queue QUEUE, chooses the favorite NAME in its menu and\n"
    "saves, as `kzpde print --favorite NAME` does, and keeps the job options that makes\n"
    "as the lpoptions instance QUEUE/NAME, replacing what an instance of that name\n"
    "held: run as root in the system's lpoptions ($CUPS_SERVERROOT, else /etc/cups),\n"
    "for every user, otherwise in ~/.cups/lpoptions. The rest of the file stays as it\n"
    "was (its default too), and it is replaced all at once. Dialogs then list the\n"
    "instance and `lp -d QUEUE/NAME` prints with the favorite.\n"
    "Prints \"published QUEUE/NAME in FILE\" and the options, one a line.\n"
    "--remove removes the instance (\"removed QUEUE/NAME from FILE\").\n"
    "Exit 1 when there is no such favorite, when its options raise a message or a\n"
    "question of the panel's rules (the text is told), when they hold a password\n"
    "(lpoptions is plain text), when NAME holds white space or \"/\", or when there is\n"
    "no such queue or instance to remove.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option("NAME", o->name, "the favorite, and the instance's name")->required();
        app.add_option("--printer", o->queue, "the CUPS queue")->type_name("QUEUE")->required();
        app.add_flag("--remove", o->remove, "remove the instance instead");
        kzpde::DeclaredOptions::bundle(app, o->bundlePath);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace
