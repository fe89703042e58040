#include "Common/Util/ControlUtil.h"

#include "Common/Util/OSUtil.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Older toolkits (before 909) had no disabled text colour; the secondary
// selected control colour stood in for it.
const kz::Color& disabledTextColor() {
    static const kz::Color color = osVersionFromAppKitVersion() >= 10060 ? kz::Color::disabledControlTextColor()
                                                                         : kz::Color::secondarySelectedControlColor();
    return color;
}

}  // namespace

bool selectWithTitle(kz::PopUpButton* popUp, const std::optional<std::string>& title, int fallbackIndex) {
    if (!popUp || !title) return false;
    int index = popUp->indexOfItemWithTitle(*title);
    if (index >= 0) {
        popUp->selectItemAtIndex(index);
        return true;
    }
    if (fallbackIndex >= 0 && fallbackIndex < popUp->numberOfItems()) popUp->selectItemAtIndex(fallbackIndex);
    return false;
}

kz::Value representedObjectOfSelectedItem(const kz::PopUpButton* popUp) {
    const kz::MenuItem* item = popUp ? popUp->selectedItem() : nullptr;
    return item ? item->representedObject() : kz::Value();
}

kz::Value representedObjectForKey(const kz::Control* control, std::string_view key) {
    if (!control || !control->cell()) return {};
    const kz::Value& object = control->cell()->representedObject();
    return object.isDictionary() ? object.dictionary().get(key) : kz::Value();
}

bool isOnAndEnabled(const kz::Button* button) {
    return button && button->state() == kz::OnState && button->isEnabled();
}

void setTitleString(kz::TextField* field, std::string_view title) {
    if (field) field->setStringValue(std::string(title) + ":");
}

void setEnabledWithColor(kz::TextField* field, bool enabled) {
    if (!field) return;
    field->setEnabled(enabled);
    field->setTextColor(enabled ? kz::Color::controlTextColor() : disabledTextColor());
}

void setEnabledConrtols(bool enabled, const std::vector<kz::Control*>& controls) {
    for (kz::Control* c : controls) {
        if (!c) continue;
        auto* field = dynamic_cast<kz::TextField*>(c);
        if (field && !field->isEditable()) setEnabledWithColor(field, enabled);
        else c->setEnabled(enabled);
    }
}

bool setEnabledConrtolsByCheckBox(const kz::Button* checkBox, const std::vector<kz::Control*>& controls) {
    bool on = isOnAndEnabled(checkBox);
    setEnabledConrtols(on, controls);
    return on;
}

}  // namespace ComTORVALEKZ2R4_Plugin
