// kzpde dialog [--printer NAME | --ppd FILE] [--bundle DIR] [--screenshot DIR]
// [--script FILE] [FILE]: the host's print dialog in a real window.
#include <QApplication>

#include <filesystem>
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "qt/QtHost.h"
#include "qt/QtPrintDialog.h"

namespace {

constexpr const char* kUsage =
    "usage: kzpde dialog [--printer NAME | --ppd FILE] [--bundle DIR] [--screenshot DIR] [--script FILE] [FILE]\n";

int run(kzpde::Invocation& inv) {
    kzpde::QtHostOptions options;
    std::vector<std::string> args = inv.args;
    if (!kzpde::QtHost::takeOptions(args, options)) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
    std::string printer, ppd, bundlePath = kzpde::BundleLocation::path(), file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--printer" || a == "--ppd" || a == "--bundle") && i + 1 < args.size()) {
            (a == "--printer" ? printer : a == "--ppd" ? ppd : bundlePath) = args[++i];
        } else if (file.empty() && !a.empty() && a[0] != '-') {
            file = a;
        } else {
            inv.err << kUsage;
            return kzpde::kUsage;
        }
    }
    if (!printer.empty() && !ppd.empty()) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
    std::error_code ec;
    if (!ppd.empty() && !std::filesystem::is_regular_file(ppd, ec)) {
        inv.err << "kzpde dialog: " << ppd << ": no such PPD file\n";
        return kzpde::kFailure;
    }
    auto bundle = kz::Bundle::open(bundlePath);
    if (!bundle) {
        inv.err << "kzpde dialog: no plug-in bundle at " << bundlePath << "\n";
        return kzpde::kFailure;
    }
    kzpde::QtHost host(options, bundle);
    if (!host.start("dialog", inv.err)) return kzpde::kFailure;

    const bool japanese = kzpde::prefersJapanese();
    kzpde::QtPrintDialog dialog(kzpde::QtPrintDialog::printers(ppd), printer, japanese);
    // The panel is not built yet: the host shows its own controls and says so.
    kz::Log::line("### ## kzpde dialog: the panel is not available yet");
    inv.err << "kzpde dialog: the panel is not available yet\n";
    dialog.showPanelUnavailable(QString::fromUtf8(japanese ? "プリントパネルはまだありません。" : "The print panel is not available yet."));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.adjustSize();
    dialog.show();
    host.shown(dialog, "Print");

    int status = kzpde::kOk;
    QObject::connect(&dialog, &QDialog::finished, [&](int result) {
        if (result == QDialog::Accepted) {
            const auto& p = dialog.printer();
            inv.out << "print: printer=\"" << (p.name.empty() ? p.title : p.name) << "\" copies=" << dialog.copies()
                    << " collate=" << (dialog.collated() ? "true" : "false")
                    << " two-sided=" << (dialog.twoSided() ? "true" : "false") << (file.empty() ? "" : " file=\"" + file + "\"")
                    << "\n";
            inv.err << "kzpde dialog: nothing was submitted: submitting waits for the panel's settings\n";
        } else {
            inv.out << "cancelled\n";
        }
        host.quit(status);
    });
    host.run([&](bool ok) {
        // A script that ran out cancels the dialog.
        if (!ok) {
            for (const auto& p : host.problems()) inv.err << "kzpde dialog: script: " << p << "\n";
            status = kzpde::kFailure;
        }
        if (dialog.isVisible()) dialog.reject();
        else host.quit(status);
    });
    for (const auto& shot : host.screenshots()) inv.out << "screenshot: " << shot << "\n";
    return status;
}

const kzpde::Command::Registration registration{{
    "dialog",
    "the print dialog in a window (Qt): printer, copies, the panel's place, Print",
    "usage: kzpde dialog [--printer NAME | --ppd FILE] [--bundle DIR] [--screenshot DIR] [--script FILE] [FILE]\n\n"
    "Shows the host's print dialog: a printer menu of the CUPS destinations and\n"
    "the embedded sample printer (or the PPD given), copies, collate and\n"
    "two-sided, the place of the plug-in's panel, Print and Cancel. Print writes\n"
    "the chosen settings on standard output.\n"
    "--screenshot DIR writes a PNG of every window as it is shown (modal ones\n"
    "too); without a script the dialog is then cancelled.\n"
    "--script FILE plays user steps against the real widgets, one a line:\n"
    "  press TITLE | click TAG | choose ITEM | type TEXT [TAG] | paste TEXT\n"
    "  key return|escape|tab | close | row N [TAG] | pick PATH... | cancel\n"
    "When the script runs out the dialog is cancelled; status 0 when every\n"
    "step ran. Needs a display (or QT_QPA_PLATFORM=offscreen).\n",
    run,
}};

}  // namespace
