// The value widgets of an option control, one builder per control type.
#include <algorithm>
#include <cmath>

#include "Common/TextInput/AttachFormatter.h"
#include "engine/controls/ControlDescription.h"
#include "engine/controls/QuillUI.h"
#include "platform/kit/ButtonCell.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

namespace {

constexpr double kRow = 24;

std::size_t utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::size_t placesAfterDot(std::string_view text) {
    std::size_t dot = text.find('.');
    return dot == std::string_view::npos ? 0 : text.size() - dot - 1;
}

// The unit code of a text field's content class.
int textUnit(std::string_view textType) {
    if (textType == "EMAIL") return 7;
    if (textType == "NUMOFPAGE") return 9;
    if (textType == "ASCII") return 8;
    return 10;
}

// Fills each "%@" in turn; "%%" is a percent sign.
std::string fillObjects(std::string_view format, const std::vector<std::string>& objects) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '@' || format[i + 1] == '%')) {
            if (format[i + 1] == '%') out += '%';
            else if (next < objects.size()) out += objects[next++];
            ++i;
            continue;
        }
        out += format[i];
    }
    return out;
}

}  // namespace

std::string QuillUI::fillDescriptionText(std::string_view format, const std::string& minText,
                                         const std::string& maxText) {
    return fillObjects(format, {minText, maxText});
}

OptionalText QuillUI::initialValue() const {
    OptionalText v = CD::text(_control_dictionary, "defchoice");
    return v ? v : CD::text(_control_dictionary, "default");
}

void QuillUI::buildTextField(const Frame& f) {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row;

    const kz::Dictionary& d = _control_dictionary;
    const double W = bounds().size.width;
    const double b = _isEnableButton ? 104 : 4;
    kz::Rect frame(x0 + hw, top - kRow - r, W - x0 - hw - 15 - b, kRow);
    if (_kind == Kind::SecureTextField) _textField = std::make_shared<QuillSecureTextField>(frame);
    else _textField = std::make_shared<QuillUITextField>(frame);
    _textField->setKeyword(_quillkeyword);
    _textField->setEnabled(true);
    _textField->setAction(action("textAction:", &QuillUI::textAction));
    _textField->setStringValue(initialValue().value_or(""));
    const long long maxDigit = CD::integer(d, "max_digit", 0);
    _textField->setDigit(maxDigit > 0 ? static_cast<long>(std::min<long long>(maxDigit, 1 << 30)) : 256);
    long long maxByte = CD::integer(d, "max_byte", 0);
    if (maxByte > 0)
        attachMaxBytesFormatter(_textField.get(), static_cast<std::uint32_t>(std::min<long long>(maxByte, 1 << 30)),
                                nullptr, nullptr);
    _textField->setUnit(textUnit(CD::text(d, "text_type").value_or("")));
    _textField->setNum(false);
    addSubview(_textField);
    if (_isEnableButton) {
        _pushButton = std::make_shared<kz::Button>(kz::Rect(W - 115, frame.minY(), 100, kRow));
        _pushButton->setTitle(localized(CD::text(d, "button_text").value_or("")));
        _pushButton->setBezelStyle(kz::BezelStyle::Rounded);
        _pushButton->setAction(action("buttonAction:", &QuillUI::buttonAction));
        addSubview(_pushButton);
    }
    if (CD::flag(d, "isTargetOnlyHidden")) _textField->View::setHidden(true);
}

void QuillUI::buildNumberField(const Frame& f) {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row, W = f.width;

    const kz::Dictionary& d = _control_dictionary;
    OptionalText minText = CD::text(d, "min"), maxText = CD::text(d, "max");
    const double w = (minText && maxText)
                         ? 7.0 * static_cast<double>(std::max(utf8Length(*minText), utf8Length(*maxText))) + 14
                         : 100;
    if (_isEnableIcon)
        if (auto image = bundleImage(_quillkeyword, false)) _numberIconView = addIconView(kz::Rect(24, top - 48, 48, 48), image);
    // The indent is the icon's room. Without an icon the field starts where
    // every other control's widget does, and the unit and range text after
    // the stepper keeps that room: in a half-width control a fixed indent
    // left too little for "mm (100.00 - 320.00)".
    const double shift = _numberIconView ? 48 : 0;
    buildTitleRow(x0 + shift, top, hw);

    kz::Rect frame(x0 + shift + hw, top - kRow - r, w, kRow);
    _textField = std::make_shared<QuillUITextField>(frame);
    _textField->setKeyword(_quillkeyword);
    _textField->setEnabled(true);
    _textField->setAction(action("textAction:", &QuillUI::textAction));
    _textField->setStringValue("1");
    _textField->setNum(true);
    _textField->setDelegate(this);

    // Decimals come from the longer fraction of the two limits.
    std::size_t places = std::max(placesAfterDot(minText.value_or("")), placesAfterDot(maxText.value_or("")));
    double step = 1;
    if (places > 2) _textField->setUnit(5), step = 0.001;
    else if (places == 2) _textField->setUnit(4), step = 0.01;
    else if (places == 1) _textField->setUnit(3), step = 0.1;
    // Without a limit the range is chosen here: from 0 up to five digits.
    const double minimum = minText ? kz::doubleValueOfText(*minText) : 0;
    const double maximum = maxText ? kz::doubleValueOfText(*maxText) : 99999;
    _textField->setMax(maximum);
    _textField->setMin(minimum);
    addSubview(_textField);

    _stepper = std::make_shared<kz::Stepper>(kz::Rect(frame.minX() + w, frame.minY(), 24, 24));
    _stepper->setMinValue(minimum);
    _stepper->setMaxValue(maximum);
    _stepper->setIncrement(step);
    _stepper->setAutorepeat(true);
    _stepper->setValueWraps(false);
    _textField->setStringValue(initialValue().value_or(""));
    _stepper->setDoubleValue(_textField->doubleValue());
    _stepper->setAction(action("stepperAction:", &QuillUI::stepperAction));
    addSubview(_stepper);

    const double descX = _stepper->frame().minX() + 24;
    std::string desc = localized(CD::text(d, "desc_text").value_or(""));
    if (desc.find("%@") != std::string::npos && minText && !minText->empty() && maxText && !maxText->empty())
        desc = fillDescriptionText(desc, *minText, *maxText);
    _descText = addTextItem(kz::Rect(descX, frame.minY(), W - descX, kRow), desc);
    _descText->setFrameSize(kz::Size{W - descX, kRow});
}

void QuillUI::buildSlider(const Frame& f) {
    const double indent = f.indent, top = f.top, W = f.width;

    const kz::Dictionary& d = _control_dictionary;
    if (_isEnableIcon) {
        if (OptionalText icon = CD::nonEmptyText(d, "icon")) {
            _minIconView = addIconView(kz::Rect(24, top - 42, 24, 24), bundleImage(*icon, true));
        } else {
            if (OptionalText minIcon = CD::nonEmptyText(d, "min_icon"))
                _minIconView = addIconView(kz::Rect(24, top - 42, 24, 24), bundleImage(*minIcon, true));
            if (OptionalText maxIcon = CD::nonEmptyText(d, "max_icon"))
                _maxIconView = addIconView(kz::Rect(W - 44, top - 42, 24, 24), bundleImage(*maxIcon, true));
        }
    }
    _slider = std::make_shared<kz::Slider>(kz::Rect(48, top - 50, W - 92, 30));
    const std::size_t count = _theArray.size();
    if (count > 0) {
        _slider->setMinValue(0);
        _slider->setMaxValue(static_cast<double>(count - 1));
        _slider->setNumberOfTickMarks(static_cast<int>(std::min<std::size_t>(count, 1u << 20)));
        _slider->setTickMarkPosition(kz::TickMarkPosition::Below);
        // One choice has no step between ticks.
        const double stepX = count > 1 ? std::floor((_slider->frame().size.width - 13) / static_cast<double>(count - 1)) : 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::string key = choiceAt(i).value_or(""), text = choiceTextAt(i).value_or("");
            _options_key.push_back(key);
            _options_text.push_back(text);
            std::string shown = localized(text);
            if (utf8Length(shown) == 1) shown = " " + shown;
            auto tick = addTextItem(kz::Rect(48 + static_cast<double>(i) * stepX, top - 67.19999999999999, 40, 20), shown);
            tick->setFrameSize(kz::Size{40, 20});
            _sliderTickLabels.push_back(tick);
        }
    } else {
        if (OptionalText minText = CD::text(d, "min")) _slider->setMinValue(kz::intValueOfText(*minText));
        if (OptionalText maxText = CD::text(d, "max")) _slider->setMaxValue(kz::intValueOfText(*maxText));
        _slider->setNumberOfTickMarks(10);
    }
    _slider->setAllowsTickMarkValuesOnly(true);
    if (count == 0) _slider->setDoubleValue(kz::intValueOfText(initialValue().value_or("")));
    _slider->setAction(action("sliderAction:", &QuillUI::sliderAction));
    addSubview(_slider);

    const kz::Font measure("Helvetica Neue Bold", 15);
    const double y = top - 33.599999999999994;
    if (OptionalText minText = CD::text(d, "min_icon_text")) {
        std::string shown = localized(*minText);
        double width = measure.widthOfString(shown);
        _minIconText = addTextItem(kz::Rect(indent + 12, y, width, 20), shown);
        _minIconText->setFont(kz::Font::systemFontOfSize(9));
    }
    if (OptionalText maxText = CD::text(d, "max_icon_text")) {
        std::string shown = localized(*maxText);
        double width = measure.widthOfString(shown);
        _maxIconText = addTextItem(kz::Rect(W - width, y, width, 20), shown);
        _maxIconText->setFont(kz::Font::systemFontOfSize(9));
    }
}

void QuillUI::buildRadioColumn(const Frame& f) {
    const double top = f.top, W = f.width;

    if (_isEnableIcon)
        if (auto image = bundleImage(_quillkeyword + "_" + CD::text(_control_dictionary, "default").value_or(""), false))
            _groupIconView = addIconView(kz::Rect(0, top - 48, 24, 24), image);
    const int count = static_cast<int>(std::min<std::size_t>(_theArray.size(), 1u << 16));
    auto prototype = std::make_unique<kz::ButtonCell>("radioButton");
    prototype->setButtonType(kz::ButtonType::Radio);
    const bool hasLabel = _rawLabel && !_rawLabel->empty();
    const double y = hasLabel ? top - kRow - kRow * count : top - kRow * count;
    _radioButtonMatrix = std::make_shared<kz::Matrix>(kz::Rect(24, y, W - 24, kRow * count), kz::MatrixMode::Radio,
                                                      std::move(prototype), count, 1);
    std::vector<kz::Cell*> cells = _radioButtonMatrix->cells();
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i]->setTitle(localized(choiceTextAt(i).value_or("")));
    _radioButtonMatrix->setCellSize(kz::Size{W - 24, kRow});
    _radioButtonMatrix->setAction(action("radioButtonAction:", &QuillUI::radioButtonAction));
    addSubview(_radioButtonMatrix);
}

void QuillUI::buildCheckBox(const Frame& f) {
    const double x0 = f.x0, top = f.top, W = f.width;

    OptionalText initial = initialValue();
    if (_isEnableIcon) {
        const kz::Rect frame(0, top - 12.0 * (_line_count + 1), 24, 24);
        _trueIconView = addIconView(frame, bundleImage(_quillkeyword + "_True", false));
        _falseIconView = addIconView(frame, bundleImage(_quillkeyword + "_False", false));
        _trueIconView->View::setHidden(!(initial && choiceAt(0) == *initial));
        _falseIconView->View::setHidden(!(initial && choiceAt(1) == *initial));
    }
    const double height = kRow * _line_count;
    _checkBox = std::make_shared<kz::Button>(kz::Rect(x0, top - height, W - x0, height));
    _checkBox->setTitle(localized(_rawLabel.value_or("")));
    _checkBox->setBordered(true);
    _checkBox->setBezelStyle(kz::BezelStyle::ThickSquare);
    _checkBox->setButtonType(kz::ButtonType::Switch);
    addSubview(_checkBox);
    if (initial == "True") setCheckBoxState(true);
    _checkBox->setAction(action("checkboxAction:", &QuillUI::checkboxAction));
}

void QuillUI::buildPopupButton(const Frame& f) {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row, W = f.width;

    _popupButton = std::make_shared<kz::PopUpButton>(kz::Rect(x0 + hw, top - kRow - r, W - x0 - hw, kRow));
    _popupButton->setBordered(true);
    _popupButton->setBezelStyle(kz::BezelStyle::Rounded);
    fillPopupMenu();
    _popupButton->setAction(action("popupButtonAction:", &QuillUI::popupButtonAction));
    addSubview(_popupButton);
}

void QuillUI::buildDatePickers(const Frame& f) {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row;

    const kz::Dictionary& d = _control_dictionary;
    const double y0 = top - kRow - r;
    struct Layout {
        kz::Rect frame;
        kz::DatePickerStyle style;
        unsigned elements;
    };
    const Layout layouts[] = {
        {kz::Rect(x0 + hw + 22, y0, 110, 24), kz::DatePickerStyle::TextFieldAndStepper, kz::YearMonthDayDatePickerElement},
        {kz::Rect(x0 + hw + 172, y0, 95, 24), kz::DatePickerStyle::TextFieldAndStepper, kz::HourMinuteDatePickerElement},
        {kz::Rect(x0 + hw, y0 - 155, 155, 155), kz::DatePickerStyle::ClockAndCalendar, kz::YearMonthDayDatePickerElement},
        {kz::Rect(x0 + hw + 155, y0 - 130, 130, 130), kz::DatePickerStyle::ClockAndCalendar, kz::HourMinuteDatePickerElement},
    };
    OptionalText initial = initialValue();
    const kz::Value* minDate = d.find("min");
    const kz::Value* maxDate = d.find("max");
    for (const Layout& layout : layouts) {
        auto picker = std::make_shared<kz::DatePicker>(layout.frame);
        picker->setDatePickerStyle(layout.style);
        picker->setDatePickerElements(layout.elements);
        if (minDate) picker->setMinDate(datePickerDictionaryValueToDate(*minDate));
        if (maxDate) picker->setMaxDate(datePickerDictionaryValueToDate(*maxDate));
        picker->setDateValue(datePickerDictionaryValueToDate(kz::Value(initial.value_or(""))));
        picker->setAction(action("datePickerAction:", &QuillUI::datePickerAction));
        if (CD::flag(d, "isTargetOnlyHidden")) picker->View::setHidden(true);
        addSubview(picker);
        _datePickers.push_back(picker);
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
