#include "PDE/DetailedSettingsWinController.h"

#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

DetailedSettingsWinController& DetailedSettingsWinController::sharedInstance() {
    static DetailedSettingsWinController* shared = new DetailedSettingsWinController();
    return *shared;
}

// The window itself is not built yet: the panel's button gets a cancelled
// run and the print option stays as it was.
int DetailedSettingsWinController::showAsModalDialog(kz::Dictionary&) {
    kz::Log::line("### ## the detailed settings window is not available yet");
    return 0;
}

void DetailedSettingsWinController::reformatPrintOption(kz::Dictionary&) {}

}  // namespace ComTORVALEKZ2R4_Plugin
