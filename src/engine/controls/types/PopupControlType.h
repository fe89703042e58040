#pragma once

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A pop-up list of the "choices" (or of the item list a pane set instead)
// below the label. A value that no item has is kept as the unsupported value.
class KZ_EXPORT PopupControlType final : public QuillControlType {
public:
    PopupControlType();
    void build(QuillUI& control, const Frame& frame) const override;
    void read(QuillUI& control) const override;
    void write(QuillUI& control, const OptionalText& value) const override;
    OptionalText shown(const QuillUI& control) const override;
    double height(const QuillUI& control, bool hasText, bool titledNotMain) const override;
};

}  // namespace ComTORVALEKZ2R4_Plugin
