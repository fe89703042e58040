#include "platform/kit/DatePicker.h"

#include <map>

#include "platform/kit/ViewClassOf.h"

namespace kz {

DatePicker::DatePicker(Rect frame) : Control(frame) { Control::setObjectValue(Value(Date{})); }

void DatePicker::setDatePickerStyle(DatePickerStyle style) {
    if (style == _style) return;
    _style = style;
    changed("datePickerStyle");
}

void DatePicker::setDatePickerElements(unsigned elements) {
    if (elements == _elements) return;
    _elements = elements;
    changed("datePickerElements");
}

void DatePicker::setMinDate(std::optional<Date> date) {
    _min = date;
    setDateValue(dateValue());
}

void DatePicker::setMaxDate(std::optional<Date> date) {
    _max = date;
    setDateValue(dateValue());
}

void DatePicker::setDateValue(Date date) {
    if (_max && date > *_max) date = *_max;
    if (_min && date < *_min) date = *_min;
    Control::setObjectValue(Value(date));
}

void DatePicker::setObjectValue(Value value) {
    if (value.isDate()) setDateValue(value.date());
}

bool DatePicker::pick(Date date) {
    if (!isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
    setDateValue(date);
    sendAction();
    return true;
}

const ViewClass& DatePicker::described() {
    static const std::map<std::string, DatePickerStyle, std::less<>> styles = {
        {"textFieldAndStepper", DatePickerStyle::TextFieldAndStepper},
        {"clockAndCalendar", DatePickerStyle::ClockAndCalendar},
        {"textField", DatePickerStyle::TextField}};
    static const ViewClass c =
        ViewClassOf<DatePicker>("DatePicker", &Control::described())
            // Given by its name in descriptions; reports tell only whether
            // the picker is graphical.
            .property(
                "style", PropertyType::String,
                [](const DatePicker& p) {
                    return Value(p.datePickerStyle() == DatePickerStyle::ClockAndCalendar ? "graphical" : "text");
                },
                [](DatePicker& p, const Value& s) {
                    if (auto it = styles.find(s.string()); it != styles.end()) p.setDatePickerStyle(it->second);
                })
            .setter("elements", PropertyType::Integer,
                    [](DatePicker& p, const Value& e) { p.setDatePickerElements(static_cast<unsigned>(e.integerValue())); })
            // Seconds since 1970.
            .property("value", [](const DatePicker& p) { return ViewClass::number(p.dateValue().unixTime()); })
            .shows("date", "value", DumpShape::Number)
            .reports("value")
            .reports("style")
            .done();
    return c;
}

}  // namespace kz
