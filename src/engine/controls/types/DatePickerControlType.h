#pragma once

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A date and a time, each as a text field with a stepper and as a calendar or
// a clock, all four showing one moment; the value is that moment in whole
// seconds since 1970.
class KZ_EXPORT DatePickerControlType final : public QuillControlType {
public:
    DatePickerControlType();
    void build(QuillUI& control, const Frame& frame) const override;
    void read(QuillUI& control) const override;
    void write(QuillUI& control, const OptionalText& value) const override;
    double height(const QuillUI& control, bool hasText, bool titledNotMain) const override;
};

}  // namespace ComTORVALEKZ2R4_Plugin
