#include "engine/controls/types/TextFieldControlType.h"

#include <algorithm>

#include "Common/TextInput/AttachFormatter.h"
#include "engine/controls/ControlDescription.h"
#include "engine/controls/QuillSecureTextField.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

namespace {

// The unit code of a text field's content class.
int textUnit(std::string_view textType) {
    if (textType == "EMAIL") return 7;
    if (textType == "NUMOFPAGE") return 9;
    if (textType == "ASCII") return 8;
    return 10;
}

}  // namespace

TextFieldControlType::TextFieldControlType(bool secret)
    : QuillControlType(secret ? QuillUI::Kind::SecureTextField : QuillUI::Kind::TextField), _secret(secret) {}

TextFieldControlType::TextFieldControlType(QuillUI::Kind kind) : QuillControlType(kind) {}

void TextFieldControlType::build(QuillUI& q, const Frame& f) const {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row;
    const kz::Dictionary& d = q.controlDictionary();
    QuillControlParts& p = parts(q);

    const double W = q.bounds().size.width;
    const double b = hasButton(q) ? 104 : 4;
    kz::Rect frame(x0 + hw, top - kRow - r, W - x0 - hw - 15 - b, kRow);
    if (_secret) p.textField = std::make_shared<QuillSecureTextField>(frame);
    else p.textField = std::make_shared<QuillTextField>(frame);
    p.textField->setKeyword(q.mainKeyword());
    p.textField->setEnabled(true);
    p.textField->setAction(action(q, "textAction:", &QuillUI::textAction));
    p.textField->setStringValue(initialValue(q).value_or(""));
    const long long maxDigit = CD::integer(d, "max_digit", 0);
    p.textField->setDigit(maxDigit > 0 ? static_cast<long>(std::min<long long>(maxDigit, 1 << 30)) : 256);
    long long maxByte = CD::integer(d, "max_byte", 0);
    if (maxByte > 0)
        attachMaxBytesFormatter(p.textField.get(), static_cast<std::uint32_t>(std::min<long long>(maxByte, 1 << 30)),
                                nullptr, nullptr);
    p.textField->setUnit(textUnit(CD::text(d, "text_type").value_or("")));
    p.textField->setNum(false);
    q.addSubview(p.textField);
    if (hasButton(q)) {
        p.pushButton = std::make_shared<kz::Button>(kz::Rect(W - 115, frame.minY(), 100, kRow));
        p.pushButton->setTitle(localized(q, CD::text(d, "button_text").value_or("")));
        p.pushButton->setBezelStyle(kz::BezelStyle::Rounded);
        p.pushButton->setAction(action(q, "buttonAction:", &QuillUI::buttonAction));
        q.addSubview(p.pushButton);
    }
    if (CD::flag(d, "isTargetOnlyHidden")) p.textField->View::setHidden(true);
}

void TextFieldControlType::read(QuillUI& q) const {
    if (const auto& field = parts(q).textField) q.setValue(field->stringValue());
}

void TextFieldControlType::write(QuillUI& q, const OptionalText&) const {
    if (const auto& field = parts(q).textField) field->setStringValue(q.value().value_or(""));
}

OptionalText TextFieldControlType::shown(const QuillUI& q) const {
    // A secret is never shown in a dialog.
    if (_secret) return std::nullopt;
    const auto& field = parts(q).textField;
    return field ? OptionalText(field->stringValue()) : std::nullopt;
}

// A group member under a group title keeps a second row.
double TextFieldControlType::height(const QuillUI&, bool hasText, bool titledNotMain) const {
    return (titledNotMain ? 48 : kRow) + (hasText ? kRow : 0);
}

}  // namespace ComTORVALEKZ2R4_Plugin
