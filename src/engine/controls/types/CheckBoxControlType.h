#pragma once

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A check box whose title is the label: on is the first choice, off the
// second ("isInvert" swaps what the box shows, not the value). With icons,
// one image per state beside it.
class KZ_EXPORT CheckBoxControlType final : public QuillControlType {
public:
    CheckBoxControlType();
    bool buildsOwnTitleRow() const override { return true; }
    void build(QuillUI& control, const Frame& frame) const override;
    void read(QuillUI& control) const override;
    void write(QuillUI& control, const OptionalText& value) const override;
    OptionalText shown(const QuillUI& control) const override;
    double height(const QuillUI& control, bool hasText, bool titledNotMain) const override;
};

}  // namespace ComTORVALEKZ2R4_Plugin
