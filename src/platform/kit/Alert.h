#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/kit/Button.h"
#include "platform/kit/Panel.h"

namespace kz {

enum class AlertStyle { Warning = 0, Informational = 1, Critical = 2 };

// A message with buttons, run modally or as a sheet. The buttons answer
// 1000, 1001, ... in the order they were added; without any, one "OK".
class KZ_EXPORT Alert {
public:
    Alert();

    const std::string& messageText() const { return _message; }
    void setMessageText(std::string text) { _message = std::move(text); }
    const std::string& informativeText() const { return _informative; }
    void setInformativeText(std::string text) { _informative = std::move(text); }
    AlertStyle alertStyle() const { return _style; }
    void setAlertStyle(AlertStyle style) { _style = style; }

    // The first is the default button (Return), a "Cancel" answers Escape.
    Button& addButtonWithTitle(std::string title);
    const std::vector<std::shared_ptr<Button>>& buttons() const { return _buttons; }

    // The alert's panel, laid out with texts and buttons.
    Panel& window();
    std::shared_ptr<Panel> sharedWindow();

    long runModal();
    // The handler hears the button's code when the sheet ends.
    void beginSheetModalForWindow(Window& parent, std::function<void(long)> handler = nullptr);

private:
    void layout();
    static void buttonPressed(Panel& panel, long code);
    std::string _message, _informative;
    AlertStyle _style = AlertStyle::Warning;
    std::vector<std::shared_ptr<Button>> _buttons;
    std::shared_ptr<Panel> _panel;
};

}  // namespace kz
