#pragma once

#include <optional>

#include "platform/kit/Control.h"

namespace kz {

enum class DatePickerStyle { TextFieldAndStepper, ClockAndCalendar, TextField };

// Which parts of the moment are shown, combinable.
enum DatePickerElements : unsigned {
    HourMinuteDatePickerElement = 0x000c,
    HourMinuteSecondDatePickerElement = 0x000e,
    TimeZoneDatePickerElement = 0x0010,
    YearMonthDatePickerElement = 0x00c0,
    YearMonthDayDatePickerElement = 0x00e0,
    EraDatePickerElement = 0x0100,
};

// A moment between an optional earliest and latest date.
class KZ_EXPORT DatePicker : public Control {
public:
    explicit DatePicker(Rect frame = {});
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    DatePickerStyle datePickerStyle() const { return _style; }
    void setDatePickerStyle(DatePickerStyle style);
    unsigned datePickerElements() const { return _elements; }
    void setDatePickerElements(unsigned elements);

    const std::optional<Date>& minDate() const { return _min; }
    void setMinDate(std::optional<Date> date);
    const std::optional<Date>& maxDate() const { return _max; }
    void setMaxDate(std::optional<Date> date);

    Date dateValue() const { return objectValue().date(); }
    // Kept between the earliest and latest date.
    void setDateValue(Date date);
    void setObjectValue(Value value) override;

    // The user picks a moment: set as above, then the action.
    bool pick(Date date);

private:
    DatePickerStyle _style = DatePickerStyle::TextFieldAndStepper;
    unsigned _elements = YearMonthDayDatePickerElement | HourMinuteSecondDatePickerElement;
    std::optional<Date> _min, _max;
};

}  // namespace kz
