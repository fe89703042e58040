#pragma once

#include "platform/kit/ButtonCell.h"
#include "platform/kit/Control.h"

namespace kz {

// Push button, check box (switch) or radio button.
class KZ_EXPORT Button : public Control {
public:
    explicit Button(Rect frame = {});
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    ButtonCell& buttonCell() const { return static_cast<ButtonCell&>(*cell()); }

    ButtonType buttonType() const { return buttonCell().buttonType(); }
    void setButtonType(ButtonType type) { buttonCell().setButtonType(type); }
    BezelStyle bezelStyle() const { return buttonCell().bezelStyle(); }
    void setBezelStyle(BezelStyle style) { buttonCell().setBezelStyle(style); }
    bool isBordered() const { return buttonCell().isBordered(); }
    void setBordered(bool bordered) { buttonCell().setBordered(bordered); }
    const std::string& imageName() const { return buttonCell().imageName(); }
    void setImageName(std::string name) { buttonCell().setImageName(std::move(name)); }

    int state() const { return buttonCell().state(); }
    void setState(int state) { buttonCell().setState(state); }

    // The key that presses the button ("\r" for a default button).
    const std::string& keyEquivalent() const { return _keyEquivalent; }
    void setKeyEquivalent(std::string key) { _keyEquivalent = std::move(key); }

    // What a click does: nothing when disabled; a switch toggles, a radio
    // turns on; then the action is sent. Answers whether it was pressed.
    bool performClick();

private:
    std::string _keyEquivalent;
};

}  // namespace kz
