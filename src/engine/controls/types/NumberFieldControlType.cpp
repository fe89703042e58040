#include "engine/controls/types/NumberFieldControlType.h"

#include <algorithm>

#include "engine/controls/ControlDescription.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

namespace {

std::size_t placesAfterDot(std::string_view text) {
    std::size_t dot = text.find('.');
    return dot == std::string_view::npos ? 0 : text.size() - dot - 1;
}

}  // namespace

NumberFieldControlType::NumberFieldControlType() : TextFieldControlType(QuillUI::Kind::NumberField) {}

void NumberFieldControlType::build(QuillUI& q, const Frame& f) const {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row;
    const kz::Dictionary& d = q.controlDictionary();
    QuillControlParts& p = parts(q);

    OptionalText minText = CD::text(d, "min"), maxText = CD::text(d, "max");
    const double w = (minText && maxText)
                         ? 7.0 * static_cast<double>(std::max(utf8Length(*minText), utf8Length(*maxText))) + 14
                         : 100;
    if (showsIcons(q))
        if (auto image = bundleImage(q, q.mainKeyword(), false))
            p.numberIconView = addIconView(q, kz::Rect(24, top - 48, 48, 48), image);
    // The indent is the icon's room. Without an icon the field starts where
    // every other control's widget does, and the unit and range text after
    // the stepper keeps that room: in a half-width control a fixed indent
    // left too little for "mm (100.00 - 320.00)".
    const double shift = p.numberIconView ? 48 : 0;
    buildTitleRow(q, x0 + shift, top, hw);

    kz::Rect frame(x0 + shift + hw, top - kRow - r, w, kRow);
    p.textField = std::make_shared<QuillTextField>(frame);
    p.textField->setKeyword(q.mainKeyword());
    p.textField->setEnabled(true);
    p.textField->setAction(action(q, "textAction:", &QuillUI::textAction));
    p.textField->setStringValue("1");
    p.textField->setNum(true);
    p.textField->setDelegate(&q);

    // Decimals come from the longer fraction of the two limits.
    std::size_t places = std::max(placesAfterDot(minText.value_or("")), placesAfterDot(maxText.value_or("")));
    double step = 1;
    if (places > 2) p.textField->setUnit(5), step = 0.001;
    else if (places == 2) p.textField->setUnit(4), step = 0.01;
    else if (places == 1) p.textField->setUnit(3), step = 0.1;
    // Without a limit the range is chosen here: from 0 up to five digits.
    const double minimum = minText ? kz::doubleValueOfText(*minText) : 0;
    const double maximum = maxText ? kz::doubleValueOfText(*maxText) : 99999;
    p.textField->setMax(maximum);
    p.textField->setMin(minimum);
    q.addSubview(p.textField);

    buildStepper(q, frame, minimum, maximum, step);
    buildDescription(q, frame, f.width);
}

void NumberFieldControlType::buildStepper(QuillUI& q, const kz::Rect& field, double minimum, double maximum,
                                          double step) {
    QuillControlParts& p = parts(q);
    p.stepper = std::make_shared<kz::Stepper>(kz::Rect(field.minX() + field.size.width, field.minY(), 24, 24));
    p.stepper->setMinValue(minimum);
    p.stepper->setMaxValue(maximum);
    p.stepper->setIncrement(step);
    p.stepper->setAutorepeat(true);
    p.stepper->setValueWraps(false);
    p.textField->setStringValue(initialValue(q).value_or(""));
    p.stepper->setDoubleValue(p.textField->doubleValue());
    p.stepper->setAction(action(q, "stepperAction:", &QuillUI::stepperAction));
    q.addSubview(p.stepper);
}

// The unit and range text after the stepper, "%@" filled with the limits.
void NumberFieldControlType::buildDescription(QuillUI& q, const kz::Rect& field, double width) {
    const kz::Dictionary& d = q.controlDictionary();
    QuillControlParts& p = parts(q);
    OptionalText minText = CD::text(d, "min"), maxText = CD::text(d, "max");
    const double descX = p.stepper->frame().minX() + 24;
    const double y = field.minY();
    std::string desc = localized(q, CD::text(d, "desc_text").value_or(""));
    if (desc.find("%@") != std::string::npos && minText && !minText->empty() && maxText && !maxText->empty())
        desc = fillDescriptionText(desc, *minText, *maxText);
    p.descText = addTextItem(q, kz::Rect(descX, y, width - descX, kRow), desc);
    p.descText->setFrameSize(kz::Size{width - descX, kRow});
}

// A shown number keeps its places: a value with another fraction is shown
// in the field's own format.
void NumberFieldControlType::write(QuillUI& q, const OptionalText&) const {
    QuillControlParts& p = parts(q);
    if (!p.textField) return;
    const OptionalText& value = q.value();
    std::string shown = p.textField->stringValue();
    if (!shown.empty() && value) {
        bool shownDot = shown.find('.') != std::string::npos, valueDot = value->find('.') != std::string::npos;
        if (!shownDot && !valueDot) p.textField->setStringValue(*value);
        else if (placesAfterDot(shown) != placesAfterDot(*value))
            p.textField->setStringValue(formatNumber(q, kz::doubleValueOfText(*value)));
        else p.textField->setStringValue(*value);
    } else {
        p.textField->setStringValue(value.value_or(""));
    }
    if (p.stepper) p.stepper->setDoubleValue(p.textField->doubleValue());
}

}  // namespace ComTORVALEKZ2R4_Plugin
