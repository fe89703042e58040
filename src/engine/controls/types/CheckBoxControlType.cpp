#include "engine/controls/types/CheckBoxControlType.h"

namespace ComTORVALEKZ2R4_Plugin {

CheckBoxControlType::CheckBoxControlType() : QuillControlType(QuillUI::Kind::CheckBox) {}

void CheckBoxControlType::build(QuillUI& q, const Frame& f) const {
    const double x0 = f.x0, top = f.top, W = f.width;
    QuillControlParts& p = parts(q);
    const int lines = lineCount(q);

    OptionalText initial = initialValue(q);
    if (showsIcons(q)) {
        const kz::Rect frame(0, top - 12.0 * (lines + 1), 24, 24);
        p.trueIconView = addIconView(q, frame, bundleImage(q, q.mainKeyword() + "_True", false));
        p.falseIconView = addIconView(q, frame, bundleImage(q, q.mainKeyword() + "_False", false));
        p.trueIconView->View::setHidden(!(initial && choiceAt(q, 0) == *initial));
        p.falseIconView->View::setHidden(!(initial && choiceAt(q, 1) == *initial));
    }
    const double height = kRow * lines;
    p.checkBox = std::make_shared<kz::Button>(kz::Rect(x0, top - height, W - x0, height));
    p.checkBox->setTitle(localized(q, rawLabel(q).value_or("")));
    p.checkBox->setBordered(true);
    p.checkBox->setBezelStyle(kz::BezelStyle::ThickSquare);
    p.checkBox->setButtonType(kz::ButtonType::Switch);
    q.addSubview(p.checkBox);
    if (initial == "True") q.setCheckBoxState(true);
    p.checkBox->setAction(action(q, "checkboxAction:", &QuillUI::checkboxAction));
}

void CheckBoxControlType::read(QuillUI& q) const {
    if (OptionalText v = choiceAt(q, q.checkBoxState() == 1 ? 0 : 1)) q.setValue(v);
}

// A value that is neither choice leaves the box as it is.
void CheckBoxControlType::write(QuillUI& q, const OptionalText& v) const {
    if (v && choiceAt(q, 0) == *v) q.setCheckBoxState(true);
    else if (v && choiceAt(q, 1) == *v) q.setCheckBoxState(false);
}

OptionalText CheckBoxControlType::shown(const QuillUI& q) const {
    return choiceTextAt(q, q.checkBoxState() == 1 ? 0 : 1);
}

// The box is as tall as its label's lines; a group member under a group
// title keeps a row for it.
double CheckBoxControlType::height(const QuillUI& q, bool, bool titledNotMain) const {
    return kRow * lineCount(q) + (titledNotMain ? kRow : 0);
}

}  // namespace ComTORVALEKZ2R4_Plugin
