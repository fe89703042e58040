// kzpde detailed: the panel's "Show Detailed Settings" run headless, with
// the steps given done in the window as a user would.
#include <nlohmann/json.hpp>
#include <ostream>

#include "support/BundleLocation.h"
#include "cli/Command.h"
#include "support/FailureLog.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "host/AnswerDriver.h"
#include "host/DetailedDriver.h"
#include "host/HostCallback.h"
#include "host/HostPpd.h"
#include "host/PlugInHost.h"
#include "host/UserActions.h"
#include "engine/panes/PanelInspection.h"
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

using Step = kzpde::DetailedDriver::Step;

struct Options {
    std::string bundlePath;
    std::optional<std::string> settings;
    std::vector<kzpde::DetailedDriver::Action> actions;  // in the order given
    bool ok = true;
    std::deque<bool> answers;
    bool json = false;
};

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

// One run: the print dialog around the panel (a session on a printer
// described by the bundle's PPD, the print settings, and the dialog's own
// PPD handle, in which it marks the choices the panel asks for), the window
// the panel sits in, and the user working the detailed settings window.
class DetailedRun {
public:
    DetailedRun(const Options& o, kzpde::Invocation& inv)
        : _o(o), _inv(inv), _answers(o.answers), _driver(o.actions, o.ok, _answers) {}
    ~DetailedRun() {
        _window.reset();
        _panel.reset();
        _plugIn.releasePanel();
    }

    int run() {
        if (int status = openPanel()) return status;
        showPanel();
        pressDetailedSettings();
        report();
        return status();
    }

private:
    int fail(const std::string& message) {
        _inv.err << "kzpde detailed: " << message << "\n";
        return kzpde::kFailure;
    }

    int openPanel() {
        std::string error;
        const bool loaded = _plugIn.load(_o.bundlePath, &error);
        if (!_plugIn.bundle()) return fail(_o.bundlePath + ": not a bundle folder");
        const std::string ppdPath = _plugIn.bundle()->resourcePath() + "/KZPrintServer.ppd";
        auto printer =
            std::make_shared<kz::MemoryPrinter>("KZ Print Server", "ipp://kz-server.example:631/printers/kz", ppdPath);
        std::string ppdError;
        auto host = std::make_shared<kzpde::MarkingHostCallback>(printer, kzpde::HostPpd::open(ppdPath, &ppdError));
        if (_o.settings) {
            std::optional<kz::PrintSettings> settings = kz::PrintSettings::readFile(*_o.settings, &error);
            if (!settings) return fail(*_o.settings + ": " + error);
            host->settings() = std::move(*settings);
        }
        if (!loaded) {
            // The loader's reason names the bundle first; the message names it once.
            if (error.starts_with(_o.bundlePath + ": ")) error.erase(0, _o.bundlePath.size() + 2);
            return fail(_o.bundlePath + ": no plug-in (" + error + ")");
        }
        _panel = _plugIn.panelFor(host, &error);
        if (!_panel) return fail("the plug-in offers no panel");
        return kzpde::kOk;
    }

    // The dialog's window with the panel in it.
    void showPanel() {
        _window = std::make_shared<kz::Window>(kz::Rect(0, 0, 700, 560));
        _view = _panel->panelView();
        if (_view) _window->contentView().addSubview(_view);
        _panel->restoreValuesAndReturnError(nullptr);
        _panel->willShow();
    }

    void pressDetailedSettings() {
        _button = _view ? kzpde::withAction<kz::Button>(*_view, "clickedShowDetailedSettingsButton:") : nullptr;
        if (!_button) return;
        kzpde::DriverScope scope(_answers);
        _driver.open(*_button);
    }

    void report() {
        std::optional<kz::Dictionary> values =
            kzp::PanelInspection::gatheredValues();
        ordered_json dialogs = ordered_json::array();
        for (const auto& d : _answers.dialogs)
            dialogs.push_back({{"text", withoutTrailingBreaks(d.text)}, {"answer", d.answer}});
        ordered_json option = ordered_json::object();
        if (values)
            for (const auto& [key, value] : *values)
                option[key] = kzp::PanePlugInMgr::_stringFromObject(value).value_or("");
        if (_o.json) {
            kzpde::writeJson(_inv.out,
                             ordered_json{{"dialogs", dialogs}, {"code", _driver.code()}, {"printOption", option}});
            return;
        }
        for (const auto& d : _answers.dialogs)
            _inv.out << "dialog:\n" << indented(withoutTrailingBreaks(d.text)) << "\n  answer: " << d.answer << "\n";
        _inv.out << "code: " << _driver.code() << (_driver.code() == 1 ? " (OK)" : " (Cancel)")
                 << (_driver.okRefused() ? ", OK refused by the consistency check" : "") << "\n"
                 << "print option:\n";
        for (const auto& [key, value] : option.items())
            _inv.out << "  " << key << " = " << value.get<std::string>() << "\n";
    }

    int status() {
        int status = kzpde::kOk;
        if (!_button) status = fail("the panel has no \"Show Detailed Settings\" button");
        else if (!_driver.windowShown()) status = fail("the detailed settings window did not come up");
        for (const std::string& problem : _driver.problems()) status = fail(problem);
        if (_answers.defaulted() > 0)
            _inv.err << "kzpde detailed: " << _answers.defaulted()
                     << " question(s) had no --answer left and were answered yes\n";
        if (_answers.unusedAnswers() > 0)
            _inv.err << "kzpde detailed: " << _answers.unusedAnswers() << " --answer value(s) not used\n";
        kzpde::FailureLog::tell(status, _log.lines(), _inv.err, "###");
        return status;
    }

    const Options& _o;
    kzpde::Invocation& _inv;
    // Declared so that they go in the order a print dialog lets them go.
    kz::LogCapture _log;
    kzpde::PlugInHost _plugIn;
    std::shared_ptr<kz::PDEPanel> _panel;
    std::shared_ptr<kz::Window> _window;
    std::shared_ptr<kz::View> _view;
    kzpde::AnswerDriver _answers;
    kzpde::DetailedDriver _driver;
    kz::Button* _button = nullptr;
};

kzpde::Runner declare(CLI::App& app) {
    auto o = std::make_shared<Options>();
    app.add_option_function<std::string>("--settings", [o](const std::string& f) { o->settings = f; },
                                         "the print settings the dialog starts from")
        ->type_name("FILE.plist");
    // --set, --style and --revert are done in the window in the order typed.
    kzpde::DeclaredOptions::keyValue(
        app, "--set", "KEY=VALUE", [o](kzpde::DeclaredOptions::KeyValue kv) {
            o->actions.push_back({Step::Set, std::move(kv.first), std::move(kv.second)});
        },
        "set the option on its pane's control as a user would");
    app.add_option_function<std::string>("--style", [o](const std::string& style) {
           o->actions.push_back({Step::Style, style, {}});
       }, "choose the window's view style")
        ->check(CLI::IsMember({"tabs", "tree"}))
        ->type_name("tabs|tree")
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag_callback("--revert", [o] { o->actions.push_back({Step::Revert, {}, {}}); },
                          "press \"Revert to Default Settings\"")
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    kzpde::DeclaredOptions::okOrCancel(app, o->ok, " (the default)");
    kzpde::DeclaredOptions::answers(app, o->answers);
    kzpde::DeclaredOptions::bundle(app, o->bundlePath);
    kzpde::DeclaredOptions::json(app, o->json);
    return [o](kzpde::Invocation& inv) {
        kzp::PanelInspection::endPaneManager();
        return DetailedRun(*o, inv).run();
    };
}

const kzpde::Command::Registration registration({
    "detailed",
    "run the panel's detailed settings window headless: set options, revert, OK or Cancel",
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
    declare,
});

}  // namespace
