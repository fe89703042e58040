#include "platform/kit/ButtonCell.h"

namespace kz {

void ButtonCell::setButtonType(ButtonType type) {
    if (type == _buttonType) return;
    _buttonType = type;
    changed("buttonType");
}

void ButtonCell::setBezelStyle(BezelStyle style) {
    if (style == _bezelStyle) return;
    _bezelStyle = style;
    changed("bezelStyle");
}

void ButtonCell::setBordered(bool bordered) {
    if (bordered == _bordered) return;
    _bordered = bordered;
    changed("bordered");
}

void ButtonCell::setImageName(std::string name) {
    if (name == _imageName) return;
    _imageName = std::move(name);
    changed("image");
}

bool ButtonCell::changesStateOnClick() const {
    switch (_buttonType) {
        case ButtonType::Switch:
        case ButtonType::Radio:
        case ButtonType::PushOnPushOff:
        case ButtonType::Toggle:
        case ButtonType::OnOff:
            return true;
        default:
            return false;
    }
}

}  // namespace kz
