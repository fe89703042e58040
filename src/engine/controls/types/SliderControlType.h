#pragma once

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A slider: over the "choices" one tick per choice (the value is the
// choice under the knob), else over "min" to "max" with the number as the
// value. Icons and texts may mark its two ends.
class KZ_EXPORT SliderControlType final : public QuillControlType {
public:
    SliderControlType();
    void build(QuillUI& control, const Frame& frame) const override;
    void read(QuillUI& control) const override;
    void write(QuillUI& control, const OptionalText& value) const override;
    double height(const QuillUI& control, bool hasText, bool titledNotMain) const override;

private:
    static void buildTicks(QuillUI& control, double top);
    static void buildEnds(QuillUI& control, const Frame& frame);
};

}  // namespace ComTORVALEKZ2R4_Plugin
