#include "host/HostSession.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "engine/panes/PanelInspection.h"
#include "host/HostPrinter.h"
#include "host/JobNameDriver.h"
#include "host/FavoritesMenu.h"
#include "host/OptionControls.h"
#include "host/SaveFavoriteDriver.h"
#include "host/UserActions.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/ScriptedUiDriver.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

HostSession::HostSession() {
    // No secret of the run leaves the process in a log line either.
    kz::Log::setFilter([this](std::string line) { return _secrets.redact(std::move(line)); });
}

HostSession::~HostSession() {
    // The panel lets go of its view and its observers before the dialog and
    // the host objects it was given go; the run's hold on its view first,
    // as the view may be the plug-in's own.
    _view.reset();
    if (kz::PDEPanel* p = panel()) p->shouldHide();
    _plugIn.releasePanel();
    _dialog.reset();
    _host.reset();
    // The secrets go with the session.
    kz::Log::setFilter({});
}

int HostSession::fail(std::ostream& err, const std::string& command, const std::string& message, int status) {
    err << "kzpde " << command << ": " << _secrets.redact(message) << "\n";
    return status;
}

int HostSession::run(const HostRequest& r, const std::string& command, std::ostream& err) {
    _command = command;
    _err = &err;
    if (int status = restoreSettingsFile(r)) return status;
    if (int status = openPrinter(r)) return status;
    _driver = std::make_unique<AnswerDriver>(r.answers, r.answers.empty() ? true : r.answers.back());
    DriverScope useDriver(*_driver);
    // The dialog as a user works it, in the order the user would.
    for (int (HostSession::*step)(const HostRequest&) :
         {&HostSession::showPanel, &HostSession::chooseFavorite, &HostSession::checkChanges, &HostSession::makeChanges,
          &HostSession::workTrayWindows, &HostSession::setJobName, &HostSession::saveFavorite,
          &HostSession::savePanel, &HostSession::writeSettings})
        if (int status = (this->*step)(r)) return status;
    if (_driver->defaulted() > 0)
        err << "kzpde " << command << ": " << _driver->defaulted() << " question(s) had no --answer and were answered yes\n";
    return 0;
}

int HostSession::fail(const std::string& message, int status) { return fail(*_err, _command, message, status); }

int HostSession::restoreSettingsFile(const HostRequest& r) {
    std::string error;
    // A settings file is outside input: refused whole before anything of it
    // reaches the dialog.
    if (r.settingsFile) {
        _restored = kz::PrintSettings::readFile(*r.settingsFile, &error);
        if (!_restored) return fail(error, 1);
    } else if (r.settings) {
        _restored = r.settings;
    }
    if (_restored) {
        for (const auto& [key, value] : _restored->values())
            if (_secrets.isSecretKey(key)) _secrets.addValue(value.stringValue());
    }
    for (const auto& [key, value] : r.sets)
        if (_secrets.isSecretKey(key)) _secrets.addValue(value);
    if (r.ppd && !std::filesystem::is_regular_file(*r.ppd)) return fail(*r.ppd + ": no such PPD file", 1);
    return 0;
}

int HostSession::openPrinter(const HostRequest& r) {
    std::string error;
    if (!_plugIn.load(r.bundlePath, &error)) return fail(error, 1);
    const auto destination = r.printer || r.needsQueue ? std::optional(r.printer.value_or("")) : std::nullopt;
    _printer = HostPrinter::open(destination, r.ppd, *_plugIn.bundle(), &error);
    if (!_printer) return fail(error, 1);
    std::unique_ptr<HostPpd> ppd;
    if (r.lists) {
        // The lists go into a copy of the printer's PPD, which the host then holds.
        std::vector<std::string> skipped;
        const std::optional<std::string> ppdPath = _printer->ppdPath();
        if (!ppdPath) return fail("--lists: the printer has no PPD to carry the lists", 1);
        if (!_listsPpd.write(*ppdPath, *r.lists, &error, &skipped)) return fail("--lists: " + error, 1);
        for (const std::string& line : skipped) *_err << "kzpde " << _command << ": --lists: " << line << "\n";
        ppd = HostPpd::open(_listsPpd.path(), &error);
        if (!ppd) return fail(error, 1);
    } else if (!HostPrinter::openPpd(*_printer, &ppd, &error)) {
        return fail(error, 1);
    }
    if (r.withPPDChanges) _host = std::make_shared<MarkingHostCallback>(_printer, std::move(ppd));
    else _host = std::make_shared<HostCallback>(_printer, std::move(ppd));
    if (_restored) {
        _host->settings() = std::move(*_restored);
        if (_host->ppd())
            for (const std::string& key : _host->ppd()->markFromSettings(_host->settings()))
                *_err << "kzpde " << _command << ": " << key << ": not a choice of the printer's PPD; left out\n";
        for (const std::string& key : PageSetupControls::dropInvalid(_host->settings()))
            *_err << "kzpde " << _command << ": " << key << ": not a value the dialog writes; left out\n";
    }
    return 0;
}

int HostSession::showPanel(const HostRequest& r) {
    std::string error;
    _dialog = std::make_unique<PrintDialog>(_host->settings(), r.withHostControls);
    // The panel is the product's: another printer shows its own PPD's
    // options, as a print dialog shows them for any printer.
    if (!_host->ppd() || !_host->ppd()->namesDialogExtension(_plugIn.bundle()->path())) {
        _plainOptions = std::make_unique<PpdOptionsView>(_host->ppd());
        _dialog->setPanelView(_plainOptions->view());
        if (PageSetupControls* setup = _dialog->pageSetup()) setup->attach(_host->ppd(), nullptr);
        _dialog->layout();
        return needsPanel(r);
    }
    std::shared_ptr<kz::PDEPanel> panel = _plugIn.panelFor(_host, &error);
    if (!panel) return fail(error, 1);
    if (!panel->restoreValuesAndReturnError(&error)) return fail("the panel could not restore the settings: " + error, 1);
    _view = panel->panelView();
    if (!_view) return fail("the panel has no view", 1);
    _dialog->setPanelView(_view);
    if (PageSetupControls* setup = _dialog->pageSetup()) setup->attach(_host->ppd(), panel.get());
    panel->willShow();
    _dialog->layout();
    dialogsFrom(0, std::nullopt);
    learnSecureControls();
    return 0;
}

int HostSession::needsPanel(const HostRequest& r) {
    const char* asked = r.favorite ? "--favorite" : !r.trays.empty() ? "--tray" : r.jobName ? "--job-name"
                        : r.saveFavorite ? "--save-favorite" : nullptr;
    if (!asked) return 0;
    return fail(std::string(asked) + ": refused: " + _printer->name() +
                    " has no KZ Print Server panel (its PPD does not name the plug-in)", 1);
}

int HostSession::chooseFavorite(const HostRequest& r) {
    if (!r.favorite) return 0;
    FavoritesMenu menu(*_view);
    if (!menu.choose(*r.favorite))
        return fail("--favorite " + *r.favorite + ": the favorites menu has no favorite named '" + *r.favorite + "'", 2);
    dialogsFrom(0, std::nullopt);
    return 0;
}

// Every key must name a control and every choice must be one before the
// first change is made; the changes themselves may still disable what a
// later one needs.
int HostSession::checkChanges(const HostRequest& r) {
    if (int status = checkPageSetup(r)) return status;
    for (const auto& [key, value] : r.sets)
        if (int status = checkSet(key, value)) return status;
    return 0;
}

int HostSession::checkPageSetup(const HostRequest& r) {
    if (r.pageSetup.empty()) return 0;
    std::string why;
    if (!PageSetupControls::check(r.pageSetup, &why)) return fail(why, 1);
    PageSetupControls* setup = _dialog->pageSetup();
    if (!setup) return fail("--paper, --pages, --orientation: this print dialog has no page setup controls", 1);
    if (r.pageSetup.paper && !setup->offersPaper(*r.pageSetup.paper, &why))
        return fail("--paper " + *r.pageSetup.paper + ": " + why, 1);
    return 0;
}

int HostSession::checkSet(const std::string& key, const std::string& value) {
    std::string why;
    if (isPaperKey(key))
        return _dialog->pageSetup()->offersPaper(value, &why) ? 0 : fail("--set " + key + "=" + value + ": " + why, 2);
    if (_plainOptions) {
        // Not the panel's options: a printer without it has no stapler of
        // ours to staple with.
        if (!_plainOptions->has(key))
            return fail("--set " + key + "=" + value + ": refused: " + _printer->name() + " has no option " + key +
                            " (its PPD does not name the KZ Print Server panel, whose options these are)",
                        1);
        return _plainOptions->offers(key, value, &why) ? 0 : fail("--set " + key + "=" + value + ": " + why, 2);
    }
    OptionControls::QuillUI* control = OptionControls::find(optionViews(), key);
    if (!control) return fail("--set " + key + ": no control has the main keyword " + key, 2);
    if (control->isHidden()) return 0;  // refused when worked, as hidden
    if (auto offered = OptionControls::choices(*control)) {
        for (const auto& c : *offered)
            if (c.value == value) return 0;
        if (auto reason = OptionControls::notOffered(*control, value))
            return fail("--set " + key + "=" + value + ": '" + value + "' is " + *reason, 1);
        return fail("--set " + key + "=" + value + ": '" + value + "' is not one of the choices of " + key, 2);
    }
    return 0;
}

// The paper size is the dialog's own control, unless a control of the panel
// edits it.
bool HostSession::isPaperKey(const std::string& key) const {
    return key == PageSetupControls::kPageSize && _dialog->pageSetup() &&
           (_plainOptions || !OptionControls::find(optionViews(), key));
}

// The panel's own options are changed in the dialog; the panes' options
// where a user changes them, in the detailed settings window the panel
// opens (a run of them at once, then OK).
int HostSession::makeChanges(const HostRequest& r) {
    std::string why;
    if (!r.pageSetup.empty() && !_dialog->pageSetup()->apply(r.pageSetup, &why)) return fail(why, 1);
    for (std::size_t i = 0; i < r.sets.size();) {
        if (isPaperKey(r.sets[i].first) || _plainOptions) {
            // The dialog's own paper size, or the printer's plain options.
            const auto& [key, value] = r.sets[i++];
            const bool done = isPaperKey(key) ? _dialog->pageSetup()->choosePaper(value, &why)
                                              : _plainOptions->choose(key, value, &why);
            if (!done) return fail("--set " + key + "=" + value + ": " + why, 1);
            continue;
        }
        kz::View& panelView = *_view;
        if (OptionControls::find({&panelView}, r.sets[i].first)) {
            const auto& [key, value] = r.sets[i++];
            const std::size_t before = _driver->dialogs.size();
            const auto outcome = OptionControls::setAsUser(*OptionControls::find({&panelView}, key), value, &why);
            if (outcome != OptionControls::Outcome::Done)
                return refused(*_err, _command, key, value, static_cast<int>(outcome), why);
            dialogsFrom(before, key);
            continue;
        }
        std::vector<std::pair<std::string, std::string>> inWindow;
        while (i < r.sets.size() && !OptionControls::find({&panelView}, r.sets[i].first) && !isPaperKey(r.sets[i].first))
            inWindow.push_back(r.sets[i++]);
        if (int status = setInDetailedWindow(panelView, inWindow, _command, *_err)) return status;
    }
    return 0;
}

int HostSession::workTrayWindows(const HostRequest& r) {
    for (const TrayWindows::Request& tray : r.trays) {
        const TrayWindows::Outcome done = TrayWindows::run(
            *_view, *_driver, tray, [this](std::size_t before, const std::string& key) { dialogsFrom(before, key); });
        if (done.status) return fail(done.message, done.status);
    }
    return 0;
}

int HostSession::setJobName(const HostRequest& r) {
    if (!r.jobName) return 0;
    const std::size_t before = _driver->dialogs.size();
    std::string why;
    const int status = JobNameDriver::set(*_view, *_driver, *r.jobName, &why);
    dialogsFrom(before, std::string("JobName"));
    return status ? fail("--job-name: " + why, status) : 0;
}

int HostSession::saveFavorite(const HostRequest& r) {
    if (!r.saveFavorite) return 0;
    std::string error;
    std::optional<std::string> saved =
        SaveFavoriteDriver::saveThroughPanel(*_view, *r.saveFavorite, r.favoriteComment, &error);
    if (!saved) return fail(error, 1);
    _savedFavorite = saved;
    return 0;
}

int HostSession::savePanel(const HostRequest&) {
    if (!panel()) {
        _jobOptions = HostPrinter::jobOptions(*_host);
        return 0;
    }
    std::string error;
    const std::size_t beforeSave = _driver->dialogs.size();
    if (!panel()->saveValuesAndReturnError(&error))
        return fail("the panel did not save the settings" + (error.empty() ? "" : ": " + error), 1);
    dialogsFrom(beforeSave, std::nullopt);
    _jobOptions = HostPrinter::jobOptions(*_host);
    for (const auto& [key, value] : _host->settings().values())
        if (_secrets.isSecretKey(key)) _secrets.addValue(value.stringValue());
    _summary = panel()->summaryInfo();
    return 0;
}

int HostSession::writeSettings(const HostRequest& r) {
    if (!r.writeSettings) return 0;
    // A file that carries a password (encoded) is for its owner's eyes.
    bool secret = false;
    for (const auto& [key, value] : _host->settings().values())
        secret = secret || (_secrets.isSecretKey(key) && !value.stringValue().empty());
    std::string error;
    return _host->settings().writeFile(*r.writeSettings, &error, secret) ? 0 : fail(error, 1);
}

void HostSession::dialogsFrom(std::size_t from, const std::optional<std::string>& key) {
    // Each dialog is told once, with the change that brought it up.
    for (std::size_t i = std::max(from, _told); i < _driver->dialogs.size(); ++i) _dialogs.push_back({key, _driver->dialogs[i]});
    _told = std::max(_told, _driver->dialogs.size());
}

int HostSession::refused(std::ostream& err, const std::string& command, const std::string& key, const std::string& value,
                         int outcome, const std::string& why) {
    const std::string shown = _secrets.isSecretKey(key) ? Secrets::masked(value) : value;
    const bool usage = outcome == static_cast<int>(OptionControls::Outcome::NotAChoice) ||
                       outcome == static_cast<int>(OptionControls::Outcome::Refused);
    return fail(err, command, "--set " + key + "=" + shown + ": " + (usage ? "refused: " : "") + why, usage ? 2 : 1);
}

int HostSession::setInDetailedWindow(kz::View& panelView, const std::vector<std::pair<std::string, std::string>>& sets,
                                     const std::string& command, std::ostream& err) {
    kz::Button* show = withAction<kz::Button>(panelView, "clickedShowDetailedSettingsButton:");
    if (!show) return fail(err, command, "--set " + sets.front().first + ": the panel has no way to its panes' options", 1);
    struct Run {
        bool shown = false, okPressed = false, refusedOk = false;
        std::size_t failedAt = 0;
        int outcome = 0;
        std::string why;
    } run;
    run.failedAt = sets.size();
    const std::size_t before = _driver->dialogs.size();
    _driver->clickWorking(*show, [&](kz::Window& window, bool* result) {
        kz::Button* ok = withAction<kz::Button>(window.contentView(), "okButton:");
        if (!ok) return false;
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        kz::Button* cancel = withAction<kz::Button>(window.contentView(), "cancelButton:");
        if (run.okPressed) {
            // OK came back: the window refused it (its check said why).
            run.refusedOk = true;
            *result = cancel && cancel->performClick();
            return true;
        }
        run.shown = true;
        for (std::size_t i = 0; i < sets.size(); ++i) {
            const std::size_t before = _driver->dialogs.size();
            OptionControls::QuillUI* control = OptionControls::bringToFront(window.contentView(), sets[i].first);
            const auto outcome = control ? OptionControls::setAsUser(*control, sets[i].second, &run.why)
                                         : OptionControls::Outcome::Unusable;
            if (!control) run.why = "the detailed settings window has no control of it";
            dialogsFrom(before, sets[i].first);
            if (outcome != OptionControls::Outcome::Done) {
                run.failedAt = i, run.outcome = static_cast<int>(outcome);
                *result = cancel && cancel->performClick();
                return true;
            }
        }
        run.okPressed = true;
        *result = ok->performClick();
        return true;
    });
    if (!run.shown) {
        return fail(err, command, "--set " + sets.front().first +
                                      ": the option is set in the detailed settings window, which did not come up", 1);
    }
    if (run.failedAt < sets.size())
        return refused(err, command, sets[run.failedAt].first, sets[run.failedAt].second, run.outcome, run.why);
    if (run.refusedOk) {
        const std::string why =
            _driver->dialogs.size() > before ? dialogTextOnOneLine(_driver->dialogs.back().text) : std::string();
        return fail(err, command, "the detailed settings window refused OK" + (why.empty() ? "" : ": " + why), 1);
    }
    // Questions after the changes (OK's own) belong to the window's run.
    dialogsFrom(before, std::nullopt);
    return 0;
}

std::vector<kz::View*> HostSession::optionViews() const {
    std::vector<kz::View*> views{&_dialog->window().contentView()};
    for (const auto& view : kzp::PanelInspection::paneViews()) views.push_back(view.get());
    return views;
}

void HostSession::learnSecureControls() {
    _secrets.learnSecureControls();
}

kz::Dictionary HostSession::report() {
    kz::Dictionary marked, options, dialogs, controls;
    if (_host && _host->ppd())
        for (const auto& [keyword, choice] : _host->ppd()->markedChoices()) marked.set(keyword, kz::Value(choice));
    for (const auto& option : _jobOptions.options()) options.set(option.name, kz::Value(option.value));
    kz::Array shown;
    for (const ShownDialog& d : _dialogs) {
        kz::Dictionary entry{{"text", kz::Value(d.dialog.text)}, {"answer", kz::Value(d.dialog.answer)}};
        entry.set("key", d.key ? kz::Value(*d.key) : kz::Value());
        shown.emplace_back(std::move(entry));
    }
    if (kz::PDEPanel* p = panel())
        if (auto view = p->panelView())
            for (OptionControls::QuillUI* control : OptionControls::in(*view, false))
                if (!control->mainKeyword().empty())
                    controls.set(control->mainKeyword(),
                                 OptionControls::describe(*control, _secrets.isSecretKey(control->mainKeyword())));
    kz::Dictionary out;
    out.set("printSettings", kz::Value(_secrets.masked(_host ? _host->settings().values() : kz::Dictionary())));
    out.set("markedChoices", kz::Value(std::move(marked)));
    out.set("jobOptions", kz::Value(_secrets.masked(options)));
    out.set("summary", kz::Value(_summary.value_or(kz::Dictionary())));
    out.set("dialogs", kz::Value(std::move(shown)));
    out.set("controls", kz::Value(std::move(controls)));
    out.set("trayWindows", kz::Value(TrayWindows::report()));
    if (_savedFavorite) out.set("savedFavorite", kz::Value(*_savedFavorite));
    kz::PDEPanel* p = panel();
    std::shared_ptr<kz::View> view = p ? p->panelView() : nullptr;
    kz::View* panelView = view.get();
    out.set("jobName", kz::Value(JobNameDriver::report(panelView, _host ? _host->settings().values() : kz::Dictionary())));
    kz::View empty;
    out.set("favorites", FavoritesMenu(view ? *view : empty).report());
    out.set("panel", kz::Value(panel() != nullptr));
    PageSetupControls* setup = _dialog ? _dialog->pageSetup() : nullptr;
    out.set("pageSetup", kz::Value(setup ? setup->report() : kz::Dictionary()));
    return out;
}

void HostSession::writeText(std::ostream& out) {
    const kz::Dictionary r = report();
    auto section = [&](const char* title, const char* key, const char* between) {
        out << title << ":\n";
        for (const auto& [name, value] : r.get(key).dictionary())
            out << "  " << name << between << "\"" << value.stringValue() << "\"\n";
    };
    section("print settings", "printSettings", " = ");
    section("marked choices", "markedChoices", " = ");
    section("job options", "jobOptions", " = ");
    section("summary", "summary", ": ");
    if (!r.get("panel").boolValue()) out << "panel: none (the printer's PPD does not name the plug-in)\n";
    section("page setup", "pageSetup", " = ");
    out << "dialogs:\n";
    for (const kz::Value& d : r.get("dialogs").array()) {
        const kz::Dictionary& entry = d.dictionary();
        out << "  " << (entry.get("key").isString() ? "set " + entry.get("key").string() : std::string("panel"))
            << ":\n" << indentedDialogText(entry.get("text").stringValue()) << "\n    answer: "
            << entry.get("answer").stringValue() << "\n";
    }
    out << "controls:\n";
    for (const auto& [keyword, value] : r.get("controls").dictionary()) {
        out << "  ";
        OptionControls::writeLine(out, keyword, value.dictionary());
    }
    TrayWindows::writeText(out, r.get("trayWindows").dictionary());
    if (const kz::Value* saved = r.find("savedFavorite")) out << "saved favorite: " << saved->stringValue() << "\n";
    const kz::Dictionary& job = r.get("jobName").dictionary();
    out << "job name: \"" << job.get("label").stringValue() << "\" (mode \"" << job.get("mode").stringValue()
        << "\", name \"" << job.get("name").stringValue() << "\")\n";
    FavoritesMenu::writeText(r.get("favorites"), out);
}

}  // namespace kzpde
