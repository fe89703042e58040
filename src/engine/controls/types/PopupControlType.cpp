#include "engine/controls/types/PopupControlType.h"

namespace ComTORVALEKZ2R4_Plugin {

PopupControlType::PopupControlType() : QuillControlType(QuillUI::Kind::PopupButton) {}

void PopupControlType::build(QuillUI& q, const Frame& f) const {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row, W = f.width;
    QuillControlParts& p = parts(q);

    p.popupButton = std::make_shared<kz::PopUpButton>(kz::Rect(x0 + hw, top - kRow - r, W - x0 - hw, kRow));
    p.popupButton->setBordered(true);
    p.popupButton->setBezelStyle(kz::BezelStyle::Rounded);
    fillPopupMenu(q);
    p.popupButton->setAction(action(q, "popupButtonAction:", &QuillUI::popupButtonAction));
    q.addSubview(p.popupButton);
}

void PopupControlType::read(QuillUI& q) const {
    if (const auto& button = parts(q).popupButton)
        if (OptionalText v = popupItemValue(q, button->indexOfSelectedItem())) q.setValue(v);
}

void PopupControlType::write(QuillUI& q, const OptionalText&) const {
    const auto& button = parts(q).popupButton;
    if (!button) return;
    const OptionalText& value = q.value();
    bool found = false;
    for (int i = 0; i < button->numberOfItems(); ++i)
        if (value && popupItemValue(q, i) == *value) {
            button->selectItemAtIndex(i);
            found = true;
        }
    q.setUnsportValue(found ? std::nullopt : value);
}

OptionalText PopupControlType::shown(const QuillUI& q) const {
    const auto& button = parts(q).popupButton;
    return button && button->selectedItem() ? OptionalText(button->titleOfSelectedItem()) : std::nullopt;
}

double PopupControlType::height(const QuillUI&, bool hasText, bool) const { return hasText ? 48 : kRow; }

}  // namespace ComTORVALEKZ2R4_Plugin
