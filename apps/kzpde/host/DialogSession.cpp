#include "host/DialogSession.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "engine/panes/PanelInspection.h"
#include "host/HostPrinter.h"
#include "support/HeldJobs.h"
#include "platform/kit/Alert.h"
#include "platform/kit/TextField.h"
#include "platform/printing/CupsDestinations.h"
#include "platform/printing/CupsPrinter.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr double kTopHeight = 40;
constexpr double kBottomHeight = 48;
constexpr double kButtonWidth = 110, kButtonHeight = 28, kMargin = 20;
constexpr double kFavoriteButtonWidth = 150;

struct HostTexts {
    const char* printer;
    const char* print;
    const char* cancel;
    PrintDialog::Texts dialog;
};

HostTexts hostTexts(bool japanese) {
    if (japanese)
        return {"プリンタ:", "プリント", "キャンセル",
                {"プリント", "部数:", "丁合い", "両面", {"用紙サイズ:", "ページ:", "すべて", "範囲", "方向:", "縦", "横"}}};
    return {"Printer:", "Print", "Cancel", {}};
}

std::shared_ptr<kz::Button> pushButton(const std::string& title, const std::string& key, const char* selector,
                                       std::function<void(kz::Control&)> handler) {
    auto b = std::make_shared<kz::Button>(kz::Rect(0, 0, kButtonWidth, kButtonHeight));
    b->setButtonType(kz::ButtonType::MomentaryPush);
    b->setBezelStyle(kz::BezelStyle::Rounded);
    b->setTitle(title);
    b->setKeyEquivalent(key);
    b->setAction({selector, std::move(handler)});
    return b;
}

}  // namespace

std::vector<DialogSession::PrinterEntry> DialogSession::printers(const DialogRequest& request) {
    std::vector<PrinterEntry> out;
    // A job made already stays on its queue.
    if (request.complete && request.printer) return {{*request.printer, request.printer, std::nullopt}};
    if (request.ppd) out.push_back({std::filesystem::path(*request.ppd).stem().string() + " (PPD)", std::nullopt, request.ppd});
    out.push_back({"KZ Sample Printer", std::nullopt, std::nullopt});
    if (!request.listCupsDestinations) return out;
    std::set<std::string> titles;
    for (const auto& e : out) titles.insert(e.title);
    for (const auto& d : kz::CupsDestinations::list()) {
        std::string title = d.info.empty() ? d.fullName() : d.info + (d.instance.empty() ? "" : " (" + d.instance + ")");
        // The menu shows one item per title; two queues of one description
        // are told apart by their names.
        if (titles.contains(title)) title = d.fullName();
        titles.insert(title);
        PrinterEntry entry{title, d.fullName(), std::nullopt};
        entry.isDefault = d.isDefault;
        out.push_back(std::move(entry));
    }
    return out;
}

DialogSession::DialogSession() = default;

DialogSession::~DialogSession() {
    // The panel lets go of its view and observers before the dialog and the
    // host objects it was given go.
    if (_dialog) _dialog->window().setDelegate(nullptr);
    releasePanel();
    _dialog.reset();
    _host.reset();
}

bool DialogSession::open(const DialogRequest& request, std::string* error) {
    _file = request.file;
    _documentName = request.documentName.value_or(std::filesystem::path(request.file.value_or("")).filename().string());
    _complete = request.complete;
    if (!_plugIn.load(request.bundlePath, error)) return false;
    _printers = printers(request);
    int index = 0;
    if (request.printer) {
        auto it = std::find_if(_printers.begin(), _printers.end(), [&](const PrinterEntry& e) {
            return e.destination == request.printer || e.title == *request.printer;
        });
        if (it == _printers.end()) {
            if (error) *error = *request.printer + ": no such CUPS destination";
            return false;
        }
        index = static_cast<int>(it - _printers.begin());
    } else if (!request.ppd) {
        for (std::size_t i = 0; i < _printers.size(); ++i)
            if (_printers[i].isDefault) index = static_cast<int>(i);
    }
    _host = std::make_shared<MarkingHostCallback>(nullptr, nullptr);
    if (request.settings) _host->settings() = *request.settings;
    _dialog = std::make_unique<PrintDialog>(_host->settings());
    HostTexts texts = hostTexts(request.japanese);
    if (request.title) texts.dialog.title = *request.title;
    _dialog->setTexts(texts.dialog);
    buildRows(request.japanese);
    _dialog->window().setDelegate(this);
    return usePrinter(index, error);
}

void DialogSession::buildRows(bool japanese) {
    const HostTexts texts = hostTexts(japanese);
    _top = std::make_shared<kz::View>(kz::Rect(0, 0, 480, kTopHeight));
    auto label = std::make_shared<kz::TextField>(kz::Rect(kMargin, 12, 70, 17));
    label->setEditable(false);
    label->setBezeled(false);
    label->setDrawsBackground(false);
    label->setStringValue(texts.printer);
    _top->addSubview(label);
    _printerMenu = std::make_shared<kz::PopUpButton>(kz::Rect(95, 8, 340, 26));
    for (const auto& p : _printers) _printerMenu->addItemWithTitle(p.title);
    _printerMenu->setAction({"printerChanged:", [this](kz::Control&) {
                                 const int chosen = _printerMenu->indexOfSelectedItem();
                                 if (chosen == _current || chosen < 0) return;
                                 std::string error;
                                 if (!usePrinter(chosen, &error)) {
                                     _printerMenu->selectItemAtIndex(_current);
                                     tell("The printer cannot be used.", error);
                                 }
                             }});
    _top->addSubview(_printerMenu);

    _bottom = std::make_shared<kz::View>(kz::Rect(0, 0, 480, kBottomHeight));
    _cancel = pushButton(texts.cancel, "\x1b", "cancel:", [this](kz::Control&) { cancel(); });
    _print = pushButton(texts.print, "\r", "print:", [this](kz::Control&) { print(); });
    _favorites = std::make_unique<FavoriteButtons>(kFavoriteButtonWidth, kButtonHeight, japanese);
    _bottom->addSubview(_favorites->save());
    _bottom->addSubview(_favorites->manage());
    _bottom->addSubview(_cancel);
    _bottom->addSubview(_print);
    _dialog->setAccessoryViews(_top, _bottom);
    placeButtons();
}

void DialogSession::placeButtons() {
    const double width = _dialog->window().frame().size.width;
    const double y = (kBottomHeight - kButtonHeight) / 2;
    _print->setFrameOrigin({width - kMargin - kButtonWidth, y});
    _cancel->setFrameOrigin({width - kMargin - 2 * kButtonWidth - 12, y});
    _favorites->save()->setFrameOrigin({kMargin, y});
    _favorites->manage()->setFrameOrigin({kMargin + kFavoriteButtonWidth + 8, y});
}

bool DialogSession::usePrinter(int index, std::string* error) {
    if (index < 0 || index >= static_cast<int>(_printers.size())) {
        if (error) *error = "no such printer";
        return false;
    }
    const PrinterEntry& entry = _printers[static_cast<std::size_t>(index)];
    std::shared_ptr<kz::Printer> printer = HostPrinter::open(entry.destination, entry.ppd, *_plugIn.bundle(), error);
    if (!printer) return false;
    std::unique_ptr<HostPpd> ppd;
    if (!HostPrinter::openPpd(*printer, &ppd, error)) return false;
    // What the person chose so far goes with the settings to the next
    // printer, where its PPD has those options.
    if (panel()) {
        std::string ignored;
        panel()->saveValuesAndReturnError(&ignored);
    }
    if (_host->ppd()) _host->ppd()->writeToSettings(_host->settings());
    releasePanel();
    _host->changePrinter(printer, std::move(ppd));
    if (_host->ppd()) _host->ppd()->markFromSettings(_host->settings());
    _current = index;
    _printerMenu->selectItemAtIndex(index);
    auto* cups = dynamic_cast<kz::CupsPrinter*>(printer.get());
    _printerName = cups ? (cups->instance().empty() ? cups->queue() : cups->queue() + "/" + cups->instance()) : entry.title;
    return loadPanel(error);
}

bool DialogSession::loadPanel(std::string* error) {
    // The panel is the product's: another printer shows its own PPD's
    // options, as a print dialog shows them for any printer.
    if (!_host->ppd() || !_host->ppd()->namesDialogExtension(_plugIn.bundle()->path())) {
        _plainOptions = std::make_unique<PpdOptionsView>(_host->ppd());
        _dialog->setPanelView(_plainOptions->view());
        if (PageSetupControls* setup = _dialog->pageSetup()) setup->attach(_host->ppd(), nullptr);
        _dialog->layout();
        placeButtons();
        return true;
    }
    std::shared_ptr<kz::PDEPanel> panel = _plugIn.panelFor(_host, error);
    if (!panel) return false;
    std::string why;
    if (!panel->restoreValuesAndReturnError(&why)) {
        if (error) *error = "the panel could not restore the settings: " + why;
        return false;
    }
    std::shared_ptr<kz::View> view = panel->panelView();
    if (!view) {
        if (error) *error = "the panel has no view";
        return false;
    }
    _dialog->setPanelView(view);
    if (PageSetupControls* setup = _dialog->pageSetup()) setup->attach(_host->ppd(), panel.get());
    panel->willShow();
    _favorites->attach(view.get());
    _dialog->layout();
    placeButtons();
    _secrets.learnSecureControls();
    return true;
}

void DialogSession::releasePanel() {
    if (kz::PDEPanel* p = panel()) p->shouldHide();
    if (_favorites) _favorites->attach(nullptr);
    if (_dialog) _dialog->setPanelView(nullptr);
    // The row lets go of the panel and the PPD that are about to go.
    if (_dialog && _dialog->pageSetup()) _dialog->pageSetup()->attach(nullptr, nullptr);
    _plainOptions.reset();
    _plugIn.releasePanel();
}

void DialogSession::print() {
    if (_outcome != Outcome::Open) return;
    // A text still being typed (the copies, a panel's field) counts: the
    // edit ends and the field's action runs before anything is saved.
    if (kz::TextField* edited = window().editedField())
        if (window().makeFirstResponder(nullptr)) edited->sendAction();
    kz::PDEPanel* p = panel();
    std::string error;
    if (!p && !_plainOptions) {
        tell("The print settings could not be saved.", "There is no print panel.");
        return;
    }
    if (p && !p->saveValuesAndReturnError(&error)) {
        // The dialog stays: the person may change what the panel refused.
        tell("The print settings could not be saved.", error);
        return;
    }
    _jobOptions = HostPrinter::jobOptions(*_host);
    // Passwords as the person typed them and as the settings carry them.
    for (const auto& [key, value] : _host->settings().values())
        if (_secrets.isSecretKey(key)) _secrets.addValue(value.stringValue());
    for (const std::string& keyword : _secrets.keywords())
        if (auto typed = kzp::PanelInspection::typedValue(keyword)) _secrets.addValue(*typed);
    auto* cups = dynamic_cast<kz::CupsPrinter*>(_host->printSession()->currentPrinter().get());
    if (_complete) {
        if (std::optional<std::string> failed = _complete(_jobOptions, _host->ppd())) {
            _message = _secrets.redact(*failed);
            finish(Outcome::Failed);
            return;
        }
    } else if (!cups) {
        _message = _printerName + " is no CUPS queue: nothing was submitted";
    } else if (!_file) {
        _message = "no file to print: nothing was submitted";
    } else {
        // Made in the panel: a queue that holds jobs for it lets this one go.
        kz::JobOptions submitted = _jobOptions;
        HeldJobs::markThroughPanel(submitted);
        const kz::CupsJob::Submitted job =
            cups->print(*_file, _documentName, submitted);
        if (!job) {
            _message = _printerName + ": the job was not taken: " + _secrets.redact(job.error);
            finish(Outcome::Failed);
            return;
        }
        _jobId = job.id;
    }
    finish(Outcome::Printed);
}

void DialogSession::cancel() {
    if (_outcome == Outcome::Open) finish(Outcome::Cancelled);
}

void DialogSession::finish(Outcome outcome) {
    _outcome = outcome;
    _dialog->window().orderOut();
    if (_finished) _finished();
}

bool DialogSession::windowShouldClose(kz::Window&) {
    // Closing a held job's dialog leaves the job as it is, which Cancel
    // does not; for a file there is nothing between the two.
    if (_outcome == Outcome::Open) finish(_complete ? Outcome::Closed : Outcome::Cancelled);
    return true;
}

void DialogSession::tell(const std::string& message, const std::string& detail) {
    kz::Alert alert;
    alert.setMessageText(message);
    alert.setInformativeText(_secrets.redact(detail));
    alert.addButtonWithTitle("OK");
    alert.runModal();
}

}  // namespace kzpde
