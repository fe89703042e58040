// kzpde detailed [--settings FILE.plist] [--set KEY=VALUE]... [--style
// tabs|tree] [--revert] [--ok|--cancel] [--answer yes|no]... [--json]: the
// panel's "Show Detailed Settings" run headless, with the steps given done
// in the window as a user would.
#include <nlohmann/json.hpp>
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "FailureLog.h"
#include "JsonValue.h"
#include "host/AnswerDriver.h"
#include "host/DetailedDriver.h"
#include "host/HostCallback.h"
#include "host/HostPpd.h"
#include "host/PlugInHost.h"
#include "host/UserActions.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/Window.h"
#include "platform/printing/MemoryPrinter.h"
#include "platform/printing/PDEPanel.h"
#include "platform/printing/PrintSettings.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using nlohmann::ordered_json;

namespace {

constexpr const char* kUsage =
    "usage: kzpde detailed [--settings FILE.plist] [--set KEY=VALUE]... [--style tabs|tree] [--revert] [--ok|--cancel] "
    "[--answer yes|no]... [--bundle DIR] [--json]\n";

struct Options {
    std::string bundlePath = kzpde::BundleLocation::path();
    std::optional<std::string> settings;
    std::vector<kzpde::DetailedDriver::Action> actions;  // in the order given
    bool ok = true;
    std::deque<bool> answers;
    bool json = false;
};

bool parse(const std::vector<std::string>& args, Options& o) {
    using Step = kzpde::DetailedDriver::Step;
    bool finishGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--json") {
            o.json = true;
        } else if (a == "--settings" && hasValue && !o.settings) {
            o.settings = args[++i];
        } else if (a == "--bundle" && hasValue) {
            o.bundlePath = args[++i];
        } else if (a == "--set" && hasValue) {
            const std::string& kv = args[++i];
            std::size_t eq = kv.find('=');
            if (eq == std::string::npos || eq == 0) return false;
            o.actions.push_back({Step::Set, kv.substr(0, eq), kv.substr(eq + 1)});
        } else if (a == "--style" && hasValue && (args[i + 1] == "tabs" || args[i + 1] == "tree")) {
            o.actions.push_back({Step::Style, args[++i], {}});
        } else if (a == "--revert") {
            o.actions.push_back({Step::Revert, {}, {}});
        } else if ((a == "--ok" || a == "--cancel") && !finishGiven) {
            finishGiven = true;
            o.ok = a == "--ok";
        } else if (a == "--answer" && hasValue && (args[i + 1] == "yes" || args[i + 1] == "no")) {
            o.answers.push_back(args[++i] == "yes");
        } else {
            return false;
        }
    }
    return true;
}

// The command shows a dialog's text without the line breaks it ends with.
std::string withoutTrailingBreaks(std::string text) {
    while (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

std::string indented(const std::string& text) {
    std::string out = "    ";
    for (char c : text) out += (c == '\r' || c == '\n') ? std::string("\n    ") : std::string(1, c);
    return out;
}

int run(kzpde::Invocation& inv) {
    Options o;
    if (!parse(inv.args, o)) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
    kz::LogCapture log;
    kzp::PanePlugInMgr::destroySharedInstance();
    kzpde::PlugInHost plugIn;
    std::string error;
    const bool loaded = plugIn.load(o.bundlePath, &error);
    if (!plugIn.bundle()) {
        inv.err << "kzpde detailed: " << o.bundlePath << ": not a bundle folder\n";
        return kzpde::kFailure;
    }
    // The print dialog around the panel: a session on a printer described by
    // the bundle's PPD, the print settings, and the dialog's own PPD handle,
    // in which it marks the choices the panel asks for.
    const std::string ppdPath = plugIn.bundle()->resourcePath() + "/KZPrintServer.ppd";
    auto printer =
        std::make_shared<kz::MemoryPrinter>("KZ Print Server", "ipp://kz-server.example:631/printers/kz", ppdPath);
    std::string ppdError;
    auto host = std::make_shared<kzpde::MarkingHostCallback>(printer, kzpde::HostPpd::open(ppdPath, &ppdError));
    if (o.settings) {
        std::optional<kz::PrintSettings> settings = kz::PrintSettings::readFile(*o.settings, &error);
        if (!settings) {
            inv.err << "kzpde detailed: " << *o.settings << ": " << error << "\n";
            return kzpde::kFailure;
        }
        host->settings() = std::move(*settings);
    }
    if (!loaded) {
        // The loader's reason names the bundle first; the message names it once.
        if (error.starts_with(o.bundlePath + ": ")) error.erase(0, o.bundlePath.size() + 2);
        inv.err << "kzpde detailed: " << o.bundlePath << ": no plug-in (" << error << ")\n";
        return kzpde::kFailure;
    }
    std::shared_ptr<kz::PDEPanel> panel = plugIn.panelFor(host, &error);
    if (!panel) {
        inv.err << "kzpde detailed: the plug-in offers no panel\n";
        return kzpde::kFailure;
    }

    // The dialog's window with the panel in it.
    auto window = std::make_shared<kz::Window>(kz::Rect(0, 0, 700, 560));
    std::shared_ptr<kz::View> view = panel->panelView();
    if (view) window->contentView().addSubview(view);
    panel->restoreValuesAndReturnError(nullptr);
    panel->willShow();

    kzpde::AnswerDriver answers(o.answers);
    kzpde::DetailedDriver driver(o.actions, o.ok, answers);
    kz::Button* button = view ? kzpde::withAction<kz::Button>(*view, "clickedShowDetailedSettingsButton:") : nullptr;
    if (button) {
        kzpde::DriverScope scope(answers);
        driver.open(*button);
    }

    std::optional<kz::Dictionary> values =
        kzp::PanePlugInMgr::sharedInstance().gatherPrintOptionValues(nullptr, "", false, false, false);
    ordered_json dialogs = ordered_json::array();
    for (const auto& d : answers.dialogs)
        dialogs.push_back({{"text", withoutTrailingBreaks(d.text)}, {"answer", d.answer}});
    ordered_json option = ordered_json::object();
    if (values)
        for (const auto& [key, value] : *values) option[key] = kzp::PanePlugInMgr::_stringFromObject(value).value_or("");
    if (o.json) {
        inv.out << kzpde::jsonText({{"dialogs", dialogs}, {"code", driver.code()}, {"printOption", option}}) << "\n";
    } else {
        for (const auto& d : answers.dialogs)
            inv.out << "dialog:\n" << indented(withoutTrailingBreaks(d.text)) << "\n  answer: " << d.answer << "\n";
        inv.out << "code: " << driver.code() << (driver.code() == 1 ? " (OK)" : " (Cancel)")
                << (driver.okRefused() ? ", OK refused by the consistency check" : "") << "\n"
                << "print option:\n";
        for (const auto& [key, value] : option.items()) inv.out << "  " << key << " = " << value.get<std::string>() << "\n";
    }

    int status = kzpde::kOk;
    if (!button) {
        inv.err << "kzpde detailed: the panel has no \"Show Detailed Settings\" button\n";
        status = kzpde::kFailure;
    } else if (!driver.windowShown()) {
        inv.err << "kzpde detailed: the detailed settings window did not come up\n";
        status = kzpde::kFailure;
    }
    for (const std::string& problem : driver.problems()) {
        inv.err << "kzpde detailed: " << problem << "\n";
        status = kzpde::kFailure;
    }
    if (answers.defaulted() > 0)
        inv.err << "kzpde detailed: " << answers.defaulted()
                << " question(s) had no --answer left and were answered yes\n";
    if (answers.unusedAnswers() > 0)
        inv.err << "kzpde detailed: " << answers.unusedAnswers() << " --answer value(s) not used\n";
    kzpde::FailureLog::tell(status, log.lines(), inv.err, "###");
    window.reset();
    panel.reset();
    plugIn.releasePanel();
    return status;
}

const kzpde::Command::Registration registration({
    "detailed",
    "run the panel's detailed settings window headless: set options, revert, OK or Cancel",
    std::string(kUsage) +
        "\n"
        "Loads the plug-in as a print dialog does (the embedded sample printer, the print\n"
        "settings of FILE.plist when given), shows its panel and presses \"Show Detailed\n"
        "Settings\". In the window, in the order given: --style chooses the view style,\n"
        "--set sets the option on its pane's control as a user would (rules and their\n"
        "questions run), --revert presses \"Revert to Default Settings\"; then OK (the\n"
        "default) or Cancel is pressed. When the consistency check refuses OK, its alert is\n"
        "kept and Cancel is pressed. Each question takes the next --answer (yes when none\n"
        "is left); a message is acknowledged.\n"
        "Prints the dialogs shown with their answers, the window's outcome (1 OK, 0 Cancel)\n"
        "and the resulting print option (every pane's value).\n"
        "--json: {\"dialogs\": [{\"text\", \"answer\"}], \"code\": 1 or 0, \"printOption\": {...}}.\n"
        "Exit 1 when the window did not come up or a step could not be done.\n",
    run,
});

}  // namespace
