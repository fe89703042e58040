#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {
class Bundle;
class PopUpButton;
class View;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class PanePlugInMgr;
class QuillUI;

// The root of every object a pane library makes. The host holds what the
// factory returns as a PaneObject and asks it, by dynamic_cast, whether it
// keeps the pane contract and which of the optional operations it offers.
class KZ_EXPORT PaneObject {
public:
    virtual ~PaneObject();
};

// What every pane controller does: it is made usable once, right after it
// is created (false discards it), then gives its view, its name and its
// option controls on demand.
class KZ_EXPORT PanePlugInInterface {
public:
    virtual ~PanePlugInInterface();
    virtual bool initializePanel(const std::shared_ptr<kz::Bundle>& bundle, PanePlugInMgr* callback) = 0;
    virtual std::shared_ptr<kz::View> panelView() = 0;
    virtual std::string panelName() = 0;
    virtual std::vector<std::shared_ptr<QuillUI>> getListQuillUI() = 0;
};

// Optional: told before the pane is shown (the pane stored as "Layout" is
// told on every restore too, so it must offer this).
class KZ_EXPORT PaneWillShow {
public:
    virtual ~PaneWillShow();
    virtual void willShow() = 0;
};

// One profile menu of a pane: its pop-up, the option keyword pattern
// (ending in "%d"), the highest profile number, and the key pattern of the
// profile file's value shown beside the number.
struct ProfileUiInformation {
    std::string fmtOptionKeywod;
    int profileNo_Max = 0;
    std::shared_ptr<kz::PopUpButton> profileUiControl;
    std::optional<std::string> fmtProfileLeftValue;
};
// Main keyword -> its profile menu, in the pane's order.
using ProfileUiInformations = std::vector<std::pair<std::string, ProfileUiInformation>>;

// Optional: the pane's profile menus; asked again when the profile changes.
class KZ_EXPORT PaneProfileUi {
public:
    virtual ~PaneProfileUi();
    virtual std::optional<ProfileUiInformations> profileUiInformations() = 0;
};

// Required of the pane stored as "Page": writes the automatic tray choice
// whenever values are restored.
class KZ_EXPORT PaneAutomaticPaperTraySelection {
public:
    virtual ~PaneAutomaticPaperTraySelection();
    virtual void writeAutomaticPapaerTraySelection() = 0;
};

}  // namespace ComTORVALEKZ2R4_Plugin
