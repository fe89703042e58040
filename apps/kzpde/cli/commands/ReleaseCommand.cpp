// kzpde release JOB: a held job completed in the panel, headless.
#include <nlohmann/json.hpp>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "host/HeldJobCompletion.h"
#include "host/HostSession.h"
#include "support/BundleLocation.h"
#include "support/JsonValue.h"

namespace {

struct Options {
    kzpde::HostRequest request;
    std::string job;
    bool cancel = false;
};

int run(Options& o, kzpde::Invocation& inv) {
    kzpde::HeldJobCompletion completion(o.request.bundlePath);
    const int id = kzpde::HeldJobCompletion::jobId(o.job);
    if (int status = completion.look(id, "release", inv.err)) return status;
    const kz::JobRecord& job = completion.job();
    if (o.cancel) {
        if (int status = completion.cancel("release", inv.err)) return status;
        if (o.request.json)
            kzpde::writeJson(inv.out, nlohmann::ordered_json{{"jobId", job.id}, {"printer", job.queue}, {"cancelled", true}});
        else
            inv.out << "job " << job.id << " on " << job.queue << " cancelled\n";
        return kzpde::kOk;
    }
    kzpde::HostRequest request = o.request;
    request.printer = job.queue;
    request.settings = completion.settings();
    kzpde::HostSession session;
    // Whatever the dialog refused, the job stays held as it was.
    if (session.run(request, "release", inv.err)) return kzpde::kFailure;
    const kzpde::HeldJobCompletion::Done done =
        completion.complete(session.jobOptions(), session.host() ? session.host()->ppd() : nullptr, "release", inv.err);
    if (done.status) return done.status;
    if (o.request.json) {
        nlohmann::ordered_json options = nlohmann::ordered_json::object();
        for (const auto& option : done.written.options()) options[option.name] = option.value;
        kzpde::writeJson(inv.out, nlohmann::ordered_json{{"jobId", job.id},
                                                         {"printer", job.queue},
                                                         {"title", job.title},
                                                         {"jobOptions", options},
                                                         {"removed", done.removed},
                                                         {"released", true}});
    } else {
        inv.out << "job " << job.id << " on " << job.queue << " released\n";
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "release",
    "complete a held job in the panel and release it",
    "JOB is the id of one of the user's held jobs on a KZ Print Server queue (as\n"
    "`kzpde jobs` lists it; \"QUEUE-ID\" as `lp` prints it works too). The panel opens\n"
    "headless on the job's queue, as in `kzpde options`, with the job's own options\n"
    "restored into it: the PPD choices and panel entries the application or `lp -o`\n"
    "gave, copies, collation and sides. --favorite, --set, --answer and --job-name\n"
    "then work the panel as a user would, every rule and question running, and\n"
    "--paper, --pages and --orientation set the dialog's own as in `kzpde options`; the panel\n"
    "saves, the job gets its options (as `lp -i JOB -o ...` sets them: the options the\n"
    "panel knows nothing of stay as the application chose them) and the mark that it\n"
    "went through the panel, and it is released. Its title stays.\n"
    "--cancel cancels the job instead.\n\n"
    "--json: \"jobId\", \"printer\", \"title\", the \"jobOptions\" written (passwords\n"
    "masked), the panel entries \"removed\" and \"released\"; with --cancel \"jobId\",\n"
    "\"printer\" and \"cancelled\".\n\n"
    "Exit status 2, the job untouched, when JOB does not exist, is not the user's,\n"
    "is not held or is not on a KZ Print Server queue; 1, the job left held, when the\n"
    "panel refuses a change (no such control, not one of its choices, a rule's check\n"
    "that fails) or anything else fails; 2 for bad arguments too, as every command.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        kzpde::HostRequest& r = o->request;
        r.bundlePath = kzpde::BundleLocation::path();
        r.needsQueue = true;
        app.add_option("JOB", o->job, "the held job's id")->required();
        kzpde::DeclaredOptions::keyValues(app, "--set", r.sets, "work the control of the option KEY as a user would");
        app.add_option_function<std::string>(
               "--favorite", [&r](const std::string& v) { r.favorite = v; },
               "choose this favorite in the panel's favorites menu first")
            ->type_name("NAME");
        kzpde::DeclaredOptions::answers(app, r.answers);
        app.add_option_function<std::string>(
               "--job-name", [&r](const std::string& v) { r.jobName = v; },
               "the job name typed into the panel's dialog, or the automatic one")
            ->type_name("TEXT|auto");
        // The host dialog's paper, page range and orientation, as for `options`.
        kzpde::DeclaredOptions::pageSetup(app, r.pageSetup);
        CLI::Option* cancel = app.add_flag("--cancel", o->cancel, "cancel the job instead");
        for (const char* name : {"--set", "--favorite", "--answer", "--job-name", "--paper", "--pages", "--orientation"})
            cancel->excludes(name);
        kzpde::DeclaredOptions::json(app, r.json);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace
