#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The process-wide modal window that shows every pane's controls at once,
// opened from the panel's "Show Detailed Settings" button. The panel uses
// it through these calls only.
class KZ_EXPORT DetailedSettingsWinController {
public:
    static DetailedSettingsWinController& sharedInstance();

    // Runs the window over the print option: 1 when the user pressed OK (the
    // option then holds the window's values), 0 when cancelled.
    int showAsModalDialog(kz::Dictionary& printOption);
    // Completes the print option with the current values of every pane; the
    // option's own entries win.
    void reformatPrintOption(kz::Dictionary& printOption);

private:
    DetailedSettingsWinController() = default;
};

}  // namespace ComTORVALEKZ2R4_Plugin
