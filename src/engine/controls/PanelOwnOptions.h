#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The options the panel shows on its own face rather than in a pane: the
// automatic tray settings for the bypass tray, 2-sided printing, centring,
// staple, punch, fold, output tray, offset and paper tray. They are
// described in the plug-in's main control description file (Info.plist
// "VLPOD"), not in a pane's, so the manager's defaults, which come from the
// panes, lack them: their descriptions give them.
class KZ_EXPORT PanelOwnOptions {
public:
    // Their main keywords, in the panel's order.
    static const std::vector<std::string>& keys();
    // Sets in DEFAULTS, for each of keys() it lacks, the description's
    // "defchoice" (else "default") from DESCRIPTIONS, when it is a text.
    static void addDefaults(kz::Dictionary& defaults, const kz::Dictionary& descriptions);
};

}  // namespace ComTORVALEKZ2R4_Plugin
