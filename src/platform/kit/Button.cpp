#include "platform/kit/Button.h"

#include <algorithm>
#include <map>

#include "platform/kit/ViewClassOf.h"

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

const ViewClass& Button::described() {
    static const std::map<std::string, ButtonType, std::less<>> types = {
        {"push", ButtonType::MomentaryPush}, {"switch", ButtonType::Switch}, {"radio", ButtonType::Radio},
        {"toggle", ButtonType::Toggle},      {"onOff", ButtonType::OnOff},   {"pushOnPushOff", ButtonType::PushOnPushOff}};
    static const ViewClass c =
        ViewClassOf<Button>("Button", &Control::described())
            .setter("buttonType", PropertyType::String,
                    [](Button& b, const Value& t) {
                        if (auto it = types.find(t.string()); it != types.end()) b.setButtonType(it->second);
                    })
            .setter("bezelStyle", PropertyType::Integer,
                    [](Button& b, const Value& s) { b.setBezelStyle(static_cast<BezelStyle>(std::clamp(s.intValue(), 1, 15))); })
            .setter("bordered", PropertyType::Bool, [](Button& b, const Value& on) { b.setBordered(on.boolValue()); })
            .setter("image", PropertyType::String, [](Button& b, const Value& i) { b.setImageName(i.string()); })
            .setter("keyEquivalent", PropertyType::String, [](Button& b, const Value& k) { b.setKeyEquivalent(k.string()); })
            // Given as a number (1 on, 0 off, -1 mixed), shown by name; a
            // push button has none to show.
            .property(
                "state", PropertyType::Integer,
                [](const Button& b) -> std::optional<Value> {
                    if (!b.buttonCell().changesStateOnClick()) return std::nullopt;
                    return Value(Cell::stateName(b.state()));
                },
                [](Button& b, const Value& s) { b.setState(s.intValue()); })
            .shows("title", "title", DumpShape::Text)
            .shows("state", "state", DumpShape::Name)
            .reports("title")
            .reports("state")
            .done();
    return c;
}

}  // namespace kz
