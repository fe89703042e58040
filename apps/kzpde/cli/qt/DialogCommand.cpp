// kzpde dialog: the host's print dialog with the plug-in's panel in a real
// window; Print submits the file through CUPS.
#include <QTimer>
#include <unistd.h>

#include <filesystem>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "host/DialogSession.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/Application.h"
#include "platform/qt/QtBridge.h"
#include "cli/qt/QtHost.h"
#include "support/StandardInputDocument.h"

namespace {

void writeOutcome(kzpde::DialogSession& session, std::ostream& out, std::ostream& err) {
    kz::Dictionary options;
    for (const auto& option : session.jobOptions().options()) options.set(option.name, kz::Value(option.value));
    out << "job options:\n";
    for (const auto& [name, value] : session.secrets().masked(options))
        out << "  " << name << " = \"" << value.stringValue() << "\"\n";
    if (session.jobId() > 0) out << "job " << session.jobId() << " on " << session.printerName() << "\n";
    else err << "kzpde dialog: " << session.message() << "\n";
}

struct Options {
    kzpde::QtHostOptions qt;
    kzpde::DialogRequest request;
};

// The files named exist and the bundle opens; else the reason on err.
std::shared_ptr<kz::Bundle> checkedBundle(const kzpde::DialogRequest& request, std::ostream& err) {
    std::error_code ec;
    if (request.ppd && !std::filesystem::is_regular_file(*request.ppd, ec)) {
        err << "kzpde dialog: " << *request.ppd << ": no such PPD file\n";
        return nullptr;
    }
    if (request.file && !std::filesystem::is_regular_file(*request.file, ec)) {
        err << "kzpde dialog: " << *request.file << ": no such file\n";
        return nullptr;
    }
    auto bundle = kz::Bundle::open(request.bundlePath);
    if (!bundle) err << "kzpde dialog: no plug-in bundle at " << request.bundlePath << "\n";
    return bundle;
}

int run(Options& o, kzpde::Invocation& inv) {
    kzpde::DialogRequest& request = o.request;
    // "-": an application's print command pipes the document in; it is
    // spooled before the window opens, and lives as long as the dialog.
    kzpde::StandardInputDocument piped;
    if (request.file == "-") {
        std::string why;
        if (!piped.read(STDIN_FILENO, &why)) {
            inv.err << "kzpde dialog: " << why << "\n";
            return kzpde::kFailure;
        }
        request.file = piped.path();
        request.documentName = kzpde::StandardInputDocument::kTitle;
    }
    auto bundle = checkedBundle(request, inv.err);
    if (!bundle) return kzpde::kFailure;
    kzpde::QtHost host(o.qt, bundle);
    if (!host.start("dialog", inv.err)) return kzpde::kFailure;

    request.japanese = kzpde::prefersJapanese();
    kzpde::DialogSession session;
    std::string error;
    if (!session.open(request, &error)) {
        inv.err << "kzpde dialog: " << session.secrets().redact(error) << "\n";
        return kzpde::kFailure;
    }
    int status = kzpde::kOk;
    session.setFinishedHandler([&] { host.quit(status); });
    kz::Window& window = session.window();
    window.center();
    kz::qt::QtBridge::shared().show(window);

    // A script that ran out (or the screenshots taken) cancels the dialog,
    // once the windows it left open have gone.
    std::function<void()> cancelWhenIdle = [&] {
        if (kz::Application::shared().modalDepth() > 0) QTimer::singleShot(20, cancelWhenIdle);
        else if (session.outcome() == kzpde::DialogSession::Outcome::Open) session.cancel();
        else host.quit(status);
    };
    host.run([&](bool ok) {
        if (!ok) {
            for (const auto& p : host.problems()) inv.err << "kzpde dialog: script: " << p << "\n";
            status = kzpde::kFailure;
        }
        host.endModalSessions();
        QTimer::singleShot(0, cancelWhenIdle);
    });
    kz::qt::QtBridge::shared().forget(window);

    switch (session.outcome()) {
    case kzpde::DialogSession::Outcome::Printed:
        writeOutcome(session, inv.out, inv.err);
        break;
    case kzpde::DialogSession::Outcome::Failed:
        inv.err << "kzpde dialog: " << session.message() << "\n";
        status = kzpde::kFailure;
        break;
    default:
        inv.out << "cancelled\n";
    }
    for (const auto& shot : host.screenshots()) inv.out << "screenshot: " << shot << "\n";
    return status;
}

const kzpde::Command::Registration registration{{
    "dialog",
    "the print dialog with the plug-in's panel in a window (Qt), printing through CUPS",
    "Shows the print dialog as a person works it: a printer menu of the CUPS\n"
    "destinations and the embedded sample printer (or the PPD given), the\n"
    "plug-in's panel for that printer's PPD (another printer in the menu loads\n"
    "the panel anew), copies, collate and two-sided, Print and Cancel.\n"
    "Print saves the panel and submits FILE to the CUPS destination with the\n"
    "options `kzpde print` sends; it prints the job options (passwords\n"
    "masked) and \"job ID on PRINTER\". On the embedded printer or a PPD, or\n"
    "without FILE, nothing is submitted and it says so. FILE \"-\" is a PDF or\n"
    "PostScript document read from standard input before the window opens\n"
    "(an application's print command), and the job is named \"(stdin)\".\n"
    "--screenshot DIR writes a PNG of every window as it is shown (modal ones\n"
    "too: questions, the detailed settings window); without a script the\n"
    "dialog is then cancelled.\n"
    "--script FILE plays user steps against the real widgets, one a line:\n"
    "  press TITLE | click TAG | choose ITEM | type TEXT [TAG] | paste TEXT\n"
    "  key return|escape|tab | close | row N [TAG] | pick PATH... | cancel\n"
    "  shot [NAME] (with --screenshot: a PNG of the front window as it is now)\n"
    "When the script runs out the dialog is cancelled; status 0 when every\n"
    "step ran. Needs a display (or QT_QPA_PLATFORM=offscreen).\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        kzpde::DialogRequest& r = o->request;
        app.add_option_function<std::string>("FILE", [o](const std::string& f) { o->request.file = f; },
                                             "the document Print submits, \"-\" for standard input");
        auto* printer = app.add_option_function<std::string>(
                               "--printer", [o](const std::string& p) { o->request.printer = p; },
                               "the CUPS destination chosen first")
                            ->type_name("NAME");
        auto* ppd = app.add_option_function<std::string>("--ppd", [o](const std::string& p) { o->request.ppd = p; },
                                                         "a PPD file for the dialog's printer")
                        ->type_name("FILE");
        printer->excludes(ppd);
        kzpde::DeclaredOptions::bundle(app, r.bundlePath);
        kzpde::QtHost::declareOptions(app, o->qt);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace
