// kzpde print FILE [the options of kzpde options]: the dialog's settings
// sent to CUPS with the document.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/HostOptions.h"
#include "support/JsonValue.h"
#include "host/HostSession.h"
#include "host/JobNameDriver.h"
#include "support/StandardInputDocument.h"
#include "support/HeldJobs.h"
#include "platform/printing/CupsPrinter.h"

namespace {

struct Options {
    kzpde::HostRequest request;
    std::string file;
};

int run(Options& o, kzpde::Invocation& inv) {
    kzpde::HostRequest& request = o.request;
    std::string file = o.file;
    if (request.ppd) {
        inv.err << "kzpde print: --ppd names no queue to print to; name a CUPS destination with --printer\n";
        return kzpde::kUsage;
    }
    // "-": the document an application pipes in, spooled before the dialog.
    kzpde::StandardInputDocument piped;
    const bool fromStdin = file == "-";
    std::string why;
    if (fromStdin && !piped.read(STDIN_FILENO, &why)) {
        inv.err << "kzpde print: " << why << "\n";
        return kzpde::kFailure;
    }
    if (fromStdin) file = piped.path();
    std::error_code ec;
    if (!fromStdin && !std::filesystem::is_regular_file(file, ec)) {
        inv.err << "kzpde print: " << file << ": no such file\n";
        return kzpde::kFailure;
    }
    request.needsQueue = true;
    kzpde::HostSession session;
    if (int status = session.run(request, "print", inv.err)) return status;
    auto* printer = dynamic_cast<kz::CupsPrinter*>(session.printer().get());
    if (!printer) {
        inv.err << "kzpde print: the dialog's printer is no CUPS destination\n";
        return kzpde::kFailure;
    }
    // The printer adds its instance's saved options under the dialog's.
    // Named as the user named it in the panel, else after the file.
    const std::string title =
        kzpde::JobNameDriver::typedName(session.host() ? session.host()->settings().values() : kz::Dictionary())
            .value_or(fromStdin ? kzpde::StandardInputDocument::kTitle : std::filesystem::path(file).filename().string());
    // Made in the panel: a queue that holds jobs for it lets this one go.
    kz::JobOptions submitted = session.jobOptions();
    kzpde::HeldJobs::markThroughPanel(submitted);
    const kz::CupsJob::Submitted job = printer->print(file, title, submitted);
    if (!job) {
        inv.err << "kzpde print: " << printer->name() << ": the job was not taken: " << session.secrets().redact(job.error)
                << "\n";
        return kzpde::kFailure;
    }
    if (request.json) {
        const kz::Dictionary report = session.report();
        nlohmann::ordered_json out{{"jobId", job.id}, {"printer", printer->name()},
                                   {"jobOptions", kzpde::toJson(report.get("jobOptions"))}};
        kzpde::writeJson(inv.out, out);
    } else {
        inv.out << "job " << job.id << " on " << printer->name() << "\n";
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "print",
    "print a file through CUPS with the options the panel saved",
    std::string("Runs the print dialog as `kzpde options` does, on the CUPS destination NAME\n"
                "(the default destination without --printer), then submits FILE (\"-\": a PDF or\n"
                "PostScript document read from standard input first, named \"(stdin)\") to it with\n"
                "the job options the panel's settings make, and prints the job's id (--json:\n"
                "\"jobId\", \"printer\" and the \"jobOptions\" sent, passwords masked). The job\n"
                "is named as the panel's job name dialog names it (--job-name TEXT, or a\n"
                "name restored with the settings or a favorite), else after FILE.\n\n") +
        kzpde::HostOptions::kHelp,
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option("FILE", o->file, "the document to print, \"-\" for standard input")->required();
        kzpde::HostOptions::declare(app, o->request);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace
