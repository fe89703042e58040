#pragma once

#include <functional>
#include <string>

#include "platform/kit/ScriptedUiDriver.h"

namespace kz {
class Button;
class TextField;
class Window;
}  // namespace kz

namespace kzpde {

// What the tool's headless users do in a dialog, one action each.

// Whether the window is an alert's panel (its buttons answer "buttonPressed:").
bool isAlertWindow(kz::Window& window);
// The texts an alert's panel shows, message first, one a line.
std::string alertText(kz::Window& window);
// Presses the alert's first (default) button with the mouse.
bool acknowledgeAlert(kz::Window& window);
// The first button the match takes, in any state, or null.
kz::Button* findButton(kz::View& root, const std::function<bool(kz::Button&)>& match);
// The control of that class whose action is the selector, enabled or not,
// shown or not: what tells one window from another.
template <class Control>
Control* withAction(kz::View& root, const std::string& selector) {
    return dynamic_cast<Control*>(kz::ScriptedUiDriver::find(root, [&](kz::View& v) {
        auto* control = dynamic_cast<Control*>(&v);
        return control && control->action().selector == selector;
    }));
}
// The enabled, visible button whose action is the selector, or null.
kz::Button* buttonWithAction(kz::View& root, const std::string& selector);
// Clicks the button with the mouse.
bool click(kz::Button& button);
// Puts the text into the field as one paste over everything it held (the
// field's formatter may refuse it, as it would refuse the user); false when
// the field does not take the focus.
bool replaceText(kz::Window& window, kz::TextField& field, const std::string& text);
// The text the field shows now (its editor's while it is edited), to see
// whether a paste was taken.
std::string shownText(kz::TextField& field);
// Presses the key (Return "\r", Enter "\x03") with the focus where it is.
bool pressKey(kz::Window& window, const std::string& key);

}  // namespace kzpde
