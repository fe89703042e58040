#include "engine/dialogs/JobNameWinController.h"

#include "Common/TextInput/AttachFormatter.h"
#include "Common/Util/ControlUtil.h"
#include "Common/TextInput/StringEscapeConverter.h"
#include "Common/TextInput/TextFieldEnvironment.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// The plug-in's own texts ("UI" table); a missing one shows its key.
std::string localized(const std::string& key) { return PanePlugInMgr::localizedAlertText(key); }

}  // namespace

JobNameWinController::JobNameWinController() : TDWindowController("JobName") {}

JobNameWinController::~JobNameWinController() = default;

std::span<const kz::ViewOwner::Outlet> JobNameWinController::outlets() const {
    static const Outlet table[] = {
        outlet("_okButton", &JobNameWinController::_okButton),
        outlet("_cancelButton", &JobNameWinController::_cancelButton),
        outlet("_JobNameCaption", &JobNameWinController::_JobNameCaption),
        outlet("_JobNameEdit", &JobNameWinController::_JobNameEdit),
        outlet("_SpecificJobNameRadio", &JobNameWinController::_SpecificJobNameRadio),
    };
    return table;
}

std::span<const kz::ViewOwner::Action> JobNameWinController::actions() const {
    static const Action table[] = {
        action("sheetOk:", &JobNameWinController::sheetOk),
        action("sheetCancel:", &JobNameWinController::sheetCancel),
        action("selectRatio:", &JobNameWinController::selectRatio),
    };
    return table;
}

void JobNameWinController::windowDidLoad() {
    if (_SpecificJobNameRadio) {
        const char* rows[] = {kAuto, kInput};
        for (int row = 0; row < 2; ++row)
            if (kz::Cell* cell = _SpecificJobNameRadio->cellAtRow(row, 0)) {
                cell->setTitle(localized(rows[row]));
                cell->setRepresentedObject(kz::Value(rows[row]));
            }
    }
    if (_JobNameCaption) _JobNameCaption->setStringValue(localized("Job name"));
    if (_okButton) {
        _okButton->setTitle(localized("OK"));
        _okButton->setKeyEquivalent("\r");
    }
    if (_cancelButton) {
        _cancelButton->setTitle(localized("Cancel"));
        _cancelButton->setKeyEquivalent("\x1b");
    }
    attachMaxLengthFormatterWithEscape(_JobNameEdit.get(), kMaxJobNameLength, localized("Placeholder Max chars").c_str(),
                                       nullptr);
    if (kz::Window* w = window()) w->setTitle(localized("Job name setting"));
    restoreValues(std::string(kAuto), std::string());
}

void JobNameWinController::restoreValues(const std::optional<std::string>& mode,
                                         const std::optional<std::string>& jobName) {
    if (!window()) return;
    if (mode && _SpecificJobNameRadio) {
        for (int row = 0; row < _SpecificJobNameRadio->numberOfRows(); ++row) {
            kz::Cell* cell = _SpecificJobNameRadio->cellAtRow(row, 0);
            if (cell && cell->representedObject().isString() && cell->representedObject().string() == *mode) {
                _SpecificJobNameRadio->selectCellAtRow(row, 0);
                break;
            }
        }
    }
    // The name comes as it is shown: taking it as the stored (escaped) value
    // would unescape it once more each time it went round.
    if (jobName && _JobNameEdit) _JobNameEdit->setStringValue(*jobName);
    selectRatio(_SpecificJobNameRadio.get());
}

std::string JobNameWinController::specificJobName() {
    kz::Cell* cell = window() && _SpecificJobNameRadio ? _SpecificJobNameRadio->selectedCell() : nullptr;
    if (!cell || !cell->representedObject().isString()) return kAuto;
    return cell->representedObject().string();
}

std::string JobNameWinController::escapedJobName() {
    if (!window() || !_JobNameEdit) return {};
    return _JobNameEdit->objectValue().stringValue();
}

std::string JobNameWinController::jobName() {
    if (!window() || !_JobNameEdit) return {};
    return _JobNameEdit->stringValue();
}

std::string JobNameWinController::displayedJobName(std::string_view escaped) {
    StringEscapeConverter converter;
    converter.addEscapeRules(TextFieldEnvironment::isJapanesePreferred());
    return converter.unEscape(escaped);
}

void JobNameWinController::selectRatio(kz::Control*) {
    const bool input = _SpecificJobNameRadio && _SpecificJobNameRadio->selectedRow() > 0;
    // A label shows that it is disabled only by its colour.
    setEnabledWithColor(_JobNameCaption.get(), input);
    if (_JobNameEdit) {
        if (!input && _JobNameEdit->currentEditor())
            if (kz::Window* w = window()) w->makeFirstResponder(nullptr);
        _JobNameEdit->setEnabled(input);
    }
}

void JobNameWinController::takeBackups() {
    jobNameBackup = _JobNameEdit ? std::optional<std::string>(_JobNameEdit->stringValue()) : std::nullopt;
    kz::Cell* cell = _SpecificJobNameRadio ? _SpecificJobNameRadio->selectedCell() : nullptr;
    tagBackup = cell ? static_cast<std::int32_t>(cell->tag()) : 0;
}

void JobNameWinController::putBackBackups() {
    if (kz::Window* w = window()) w->endEditingFor(nullptr);
    if (jobNameBackup && _JobNameEdit) _JobNameEdit->setStringValue(*jobNameBackup);
    if (_SpecificJobNameRadio) _SpecificJobNameRadio->selectCellWithTag(tagBackup);
    kz::Cell* cell = _SpecificJobNameRadio ? _SpecificJobNameRadio->selectedCell() : nullptr;
    tagBackup = cell ? static_cast<std::int32_t>(cell->tag()) : 0;
    selectRatio(_SpecificJobNameRadio.get());
}

void JobNameWinController::endWithCode(long code) {
    kz::Window* w = window();
    if (w && w->isSheet()) w->sheetParent()->endSheet(*w, code);
    else kz::Application::shared().stopModalWithCode(code);
}

void JobNameWinController::sheetOk(kz::Control*) {
    kz::Window* w = window();
    if (!w) return;
    // The text being typed is the name; a field that keeps the focus keeps
    // the dialog open.
    if (!w->makeFirstResponder(nullptr)) return;
    kz::Cell* cell = _SpecificJobNameRadio ? _SpecificJobNameRadio->selectedCell() : nullptr;
    if (!cell || cell->tag() == 0) return endWithCode(kz::ModalResponseOK);
    const std::size_t length = kz::Utf16::length(jobName());
    if (length >= 1 && length <= kMaxJobNameLength) return endWithCode(kz::ModalResponseOK);
    _alert = std::make_unique<kz::Alert>();
    _alert->setMessageText("");
    _alert->setInformativeText(localized("1 to 255 byte alart"));
    _alert->addButtonWithTitle(localized("OK"));
    _alert->beginSheetModalForWindow(*w);
}

void JobNameWinController::sheetCancel(kz::Control*) {
    putBackBackups();
    endWithCode(kz::ModalResponseCancel);
}

int JobNameWinController::showAsModalDialog() {
    kz::Window* w = window();
    if (!w) return 0;
    _didEndSelector = nullptr;
    // Cancel, and a session that ends without an answer, put back what the
    // dialog showed when it opened.
    takeBackups();
    w->center();
    const long code = kz::Application::shared().runModalForWindow(*w);
    if (code != kz::ModalResponseOK && code != kz::ModalResponseCancel) putBackBackups();
    w->orderOut();
    return code == kz::ModalResponseOK ? 1 : 0;
}

void JobNameWinController::showSheet(kz::Window& parent, std::function<void(JobNameWinController&)> didEnd) {
    std::shared_ptr<kz::Window> w = window() ? sharedWindow() : nullptr;
    if (!w) return;
    takeBackups();
    _didEndSelector = std::move(didEnd);
    parent.beginSheet(w, [this](long code) {
        if (code == kz::ModalResponseOK && _didEndSelector) _didEndSelector(*this);
    });
}

bool ShowJobNameModalDialog(std::string& specificJobName, std::string* escapedJobName, std::string& jobName) {
    // A pane's call must not take the print dialog down with it.
    try {
        JobNameWinController& dialog = JobNameWinController::sharedInstance();
        dialog.restoreValues(specificJobName, jobName);
        if (dialog.showAsModalDialog() != 1) return false;
        std::string mode = dialog.specificJobName(), escaped = dialog.escapedJobName(), name = dialog.jobName();
        specificJobName = std::move(mode);
        if (escapedJobName) *escapedJobName = std::move(escaped);
        jobName = std::move(name);
        return true;
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in ShowJobNameModalDialog: %s", e.what());
        return false;
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
