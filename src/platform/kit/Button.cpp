#include "platform/kit/Button.h"

namespace kz {

Button::Button(Rect frame) : Control(frame, std::make_unique<ButtonCell>()) {}

bool Button::performClick() {
    if (!isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
    auto keep = weak_from_this().lock();
    if (buttonCell().changesStateOnClick())
        setState(buttonType() == ButtonType::Radio ? OnState : (state() == OnState ? OffState : OnState));
    sendAction();
    return true;
}

}  // namespace kz
