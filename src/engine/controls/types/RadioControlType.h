#pragma once

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A column of radio buttons, one per choice, below the label. "RadioButton"
// and "HRadioButton" share it: a horizontal column is built, read, written
// and sized as a vertical one, or its user's choice would never reach the
// option. A value that no cell has is kept as the unsupported value.
class KZ_EXPORT RadioControlType final : public QuillControlType {
public:
    explicit RadioControlType(QuillUI::Kind kind);
    void build(QuillUI& control, const Frame& frame) const override;
    void read(QuillUI& control) const override;
    void write(QuillUI& control, const OptionalText& value) const override;
    OptionalText shown(const QuillUI& control) const override;
    double height(const QuillUI& control, bool hasText, bool titledNotMain) const override;

private:
    static void scheduleSelection(QuillUI& control);
};

}  // namespace ComTORVALEKZ2R4_Plugin
