// The panel's job name: the "Job name..." button and the label beside it.
#include "PDE/PanelJobName.h"

#include "PDE/KemoPDEByCocoa.h"
#include "engine/dialogs/JobNameWinController.h"
#include "platform/foundation/Log.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

void PanelJobName::clickedJobNameButton(kz::Control*) {
    try {
        JobNameWinController& dialog = JobNameWinController::sharedInstance();
        dialog.restoreValues(_panel._specificJobNameValue, _panel._jobNameValue);
        if (dialog.showAsModalDialog() == 1) {
            _panel._specificJobNameValue = dialog.specificJobName();
            _panel._escapedJobNameValue = dialog.escapedJobName();
            _panel._jobNameValue = dialog.jobName();
        }
        updateJobNameUI();
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in clickedJobNameButton: %s", e.what());
    }
}

// The label shows the typed name while the mode is not "Auto" and there is
// a name; otherwise the server names the job, and the label says so.
void PanelJobName::updateJobNameUI() {
    if (!_panel._jobName) return;
    const bool named = _panel._specificJobNameValue != JobNameWinController::kAuto && !_panel._jobNameValue.empty();
    _panel._jobName->setStringValue(named ? _panel._jobNameValue : _panel.localized("Auto"));
}

}  // namespace ComTORVALEKZ2R4_Plugin
