#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/rules/QuillMgr.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace kz {
class View;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class PanePlugInMgr;

// What a host may ask of the loaded panes beyond the print dialog's host
// protocol: the one named way in from apps/, so that a host never holds the
// pane plug-in manager itself. A print dialog needs none of it; the tool's
// host uses it to report and to mask what the panes hold, and the tool's
// pane hosting (commands that run the panes without a dialog) to reach the
// manager it made. Every question answers "nothing" when no panes are loaded.
class KZ_EXPORT PanelInspection {
public:
    // Whether the panel has loaded its panes (the manager exists).
    static bool hasPanes();
    // The option controls the registry holds, by main keyword, in the order filed.
    static QuillMgr::ControlsDictionary registeredControls();
    // The text a control of the keyword holds as typed.
    static OptionalText typedValue(const std::string& keyword);
    // The view of every loaded pane, in the panes' order.
    static std::vector<std::shared_ptr<kz::View>> paneViews();
    // The print options the panes hold, gathered as the panel gathers them
    // for plain (not server, not per-file-type) settings.
    static std::optional<kz::Dictionary> gatheredValues();

    // For hosts that run the panes without a print dialog: the manager,
    // made on first use; and its end.
    static PanePlugInMgr& paneManager();
    static void endPaneManager();
};

}  // namespace ComTORVALEKZ2R4_Plugin
