#include "engine/controls/types/DatePickerControlType.h"

#include "engine/controls/ControlDescription.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

DatePickerControlType::DatePickerControlType() : QuillControlType(QuillUI::Kind::DatePicker) {}

void DatePickerControlType::build(QuillUI& q, const Frame& f) const {
    const double x0 = f.x0, top = f.top, hw = f.headWidth, r = f.row;
    const kz::Dictionary& d = q.controlDictionary();

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
    OptionalText initial = initialValue(q);
    const kz::Value* minDate = d.find("min");
    const kz::Value* maxDate = d.find("max");
    for (const Layout& layout : layouts) {
        auto picker = std::make_shared<kz::DatePicker>(layout.frame);
        picker->setDatePickerStyle(layout.style);
        picker->setDatePickerElements(layout.elements);
        if (minDate) picker->setMinDate(QuillUI::datePickerDictionaryValueToDate(*minDate));
        if (maxDate) picker->setMaxDate(QuillUI::datePickerDictionaryValueToDate(*maxDate));
        picker->setDateValue(QuillUI::datePickerDictionaryValueToDate(kz::Value(initial.value_or(""))));
        picker->setAction(action(q, "datePickerAction:", &QuillUI::datePickerAction));
        if (CD::flag(d, "isTargetOnlyHidden")) picker->View::setHidden(true);
        q.addSubview(picker);
        parts(q).datePickers.push_back(picker);
    }
}

void DatePickerControlType::read(QuillUI& q) const {
    const auto& pickers = parts(q).datePickers;
    if (!pickers.empty()) q.setValue(secondsText(pickers.front()->dateValue().unixTime()));
}

// The value is seconds since 1970.
void DatePickerControlType::write(QuillUI& q, const OptionalText& v) const {
    if (!v) return;
    kz::Date date = kz::Date::fromUnix(kz::doubleValueOfText(*v));
    for (auto& picker : parts(q).datePickers) picker->setDateValue(date);
}

// The calendar and clock below the fields; a label row unless the label is
// explicitly empty.
double DatePickerControlType::height(const QuillUI& q, bool, bool) const {
    return CD::text(q.controlDictionary(), "text") == std::string() ? 179 : 203;
}

}  // namespace ComTORVALEKZ2R4_Plugin
