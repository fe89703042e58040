#pragma once

#include "platform/kit/FieldEditor.h"

namespace ComTORVALEKZ2R4_Plugin {

// The field editor of a field that must not be left empty: while its window is visible it keeps the focus
// as long as the text is empty, and says so in an alert sheet.
class KZ_EXPORT NoEmptyFieldEditor : public kz::FieldEditor {
public:
    bool resignFirstResponder() override;
};

}  // namespace ComTORVALEKZ2R4_Plugin
