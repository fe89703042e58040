#pragma once

#include "platform/kit/Cell.h"

namespace kz {

enum class ButtonType { MomentaryPush, PushOnPushOff, Toggle, Switch, Radio, MomentaryChange, OnOff, MomentaryLight };

// The bezel styles by the numbers the control layouts give (1 rounded,
// 3 the square style of check boxes, ...).
enum class BezelStyle : int {
    Rounded = 1, RegularSquare = 2, ThickSquare = 3, ThickerSquare = 4, Disclosure = 5, ShadowlessSquare = 6,
    Circular = 7, TexturedSquare = 8, HelpButton = 9, SmallSquare = 10, TexturedRounded = 11,
    RoundRect = 12, Recessed = 13, RoundedDisclosure = 14, Inline = 15
};

// A button's cell; a matrix of radio buttons holds these.
class KZ_EXPORT ButtonCell : public Cell {
public:
    using Cell::Cell;
    std::unique_ptr<Cell> clone() const override { return std::make_unique<ButtonCell>(*this); }
    std::string className() const override { return "ButtonCell"; }

    ButtonType buttonType() const { return _buttonType; }
    void setButtonType(ButtonType type);
    BezelStyle bezelStyle() const { return _bezelStyle; }
    void setBezelStyle(BezelStyle style);
    bool isBordered() const { return _bordered; }
    void setBordered(bool bordered);
    // The image resource shown, by name (empty: none).
    const std::string& imageName() const { return _imageName; }
    void setImageName(std::string name);

    // A click changes the state of switches, radios and toggles.
    bool changesStateOnClick() const;

private:
    ButtonType _buttonType = ButtonType::MomentaryPush;
    BezelStyle _bezelStyle = BezelStyle::Rounded;
    bool _bordered = true;
    std::string _imageName;
};

}  // namespace kz
