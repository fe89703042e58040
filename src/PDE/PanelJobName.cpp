// The panel's job name: the "Job name..." button and the label beside it.
#include "PDE/KemoPDEByCocoa.h"
#include "engine/dialogs/JobNameWinController.h"
#include "platform/foundation/Log.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

void KemoPDEByCocoa::clickedJobNameButton(kz::Control*) {
    try {
        JobNameWinController& dialog = JobNameWinController::sharedInstance();
        dialog.restoreValues(_specificJobNameValue, _jobNameValue);
        if (dialog.showAsModalDialog() == 1) {
            _specificJobNameValue = dialog.specificJobName();
            _escapedJobNameValue = dialog.escapedJobName();
            _jobNameValue = dialog.jobName();
        }
        _updateJobNameUI();
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in clickedJobNameButton: %s", e.what());
    }
}

// The label shows the typed name while the mode is not "Auto" and there is
// a name; otherwise the server names the job, and the label says so.
void KemoPDEByCocoa::_updateJobNameUI() {
    if (!_jobName) return;
    const bool named = _specificJobNameValue != JobNameWinController::kAuto && !_jobNameValue.empty();
    _jobName->setStringValue(named ? _jobNameValue : localized("Auto"));
}

}  // namespace ComTORVALEKZ2R4_Plugin
