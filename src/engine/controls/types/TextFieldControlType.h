#pragma once

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A text field below the label, with a push button after it when the
// description asks for one. The secure variant ("SecureTextField_text")
// hides what is typed and never shows its text in a dialog.
class KZ_EXPORT TextFieldControlType : public QuillControlType {
public:
    explicit TextFieldControlType(bool secret);
    void build(QuillUI& control, const Frame& frame) const override;
    void read(QuillUI& control) const override;
    void write(QuillUI& control, const OptionalText& value) const override;
    OptionalText shown(const QuillUI& control) const override;
    double height(const QuillUI& control, bool hasText, bool titledNotMain) const override;

protected:
    // A field of another kind that reads, shows and sizes as a text field.
    explicit TextFieldControlType(QuillUI::Kind kind);

private:
    bool _secret = false;
};

}  // namespace ComTORVALEKZ2R4_Plugin
