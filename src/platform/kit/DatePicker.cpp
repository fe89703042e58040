#include "platform/kit/DatePicker.h"

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

}  // namespace kz
