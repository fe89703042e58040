#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace kz {
class Button;
class Control;
class PopUpButton;
class TextField;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// Control helpers shared by the plug-in and its panes. Null controls are
// accepted and do nothing (answering false or null).

// Selects the item with the title and answers true; without one selects the
// fallback index when it exists and answers false. False for no title.
KZ_EXPORT bool selectWithTitle(kz::PopUpButton* popUp, const std::optional<std::string>& title, int fallbackIndex);
KZ_EXPORT kz::Value representedObjectOfSelectedItem(const kz::PopUpButton* popUp);
// The value under the key in the dictionary the control's cell represents;
// null when that is not a dictionary.
KZ_EXPORT kz::Value representedObjectForKey(const kz::Control* control, std::string_view key);
KZ_EXPORT bool isOnAndEnabled(const kz::Button* button);
// Shows "title:".
KZ_EXPORT void setTitleString(kz::TextField* field, std::string_view title);
// Enables the field and shows its text in the control text colour, or
// disables it and greys its text with the disabled control text colour.
KZ_EXPORT void setEnabledWithColor(kz::TextField* field, bool enabled);
// Labels (text fields that cannot be edited) change colour with
// setEnabledWithColor; every other control is enabled or disabled.
KZ_EXPORT void setEnabledConrtols(bool enabled, const std::vector<kz::Control*>& controls);
// setEnabledConrtols with whether the check box is on and enabled; answers that.
KZ_EXPORT bool setEnabledConrtolsByCheckBox(const kz::Button* checkBox, const std::vector<kz::Control*>& controls);

}  // namespace ComTORVALEKZ2R4_Plugin
