#pragma once

#include "engine/controls/types/TextFieldControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A number field with a stepper and the unit and range text after it, an
// icon before it when the description asks for one (its title row moves
// aside for the icon). The places shown follow the longer fraction of "min"
// and "max"; it reads, shows and sizes as a text field.
class KZ_EXPORT NumberFieldControlType final : public TextFieldControlType {
public:
    NumberFieldControlType();
    bool buildsOwnTitleRow() const override { return true; }
    void build(QuillUI& control, const Frame& frame) const override;
    void write(QuillUI& control, const OptionalText& value) const override;

private:
    static void buildStepper(QuillUI& control, const kz::Rect& field, double minimum, double maximum, double step);
    static void buildDescription(QuillUI& control, const kz::Rect& field, double width);
};

}  // namespace ComTORVALEKZ2R4_Plugin
