#pragma once

#include "platform/kit/FieldEditor.h"

namespace ComTORVALEKZ2R4_Plugin {

// The field editor of an e-mail field that must not be left empty (the shape of the
// addresses is its formatter's business): while its window is visible it keeps the focus
// as long as the text is empty, and says so in an alert sheet.
class KZ_EXPORT MailAddressFieldEditor : public kz::FieldEditor {
public:
    bool resignFirstResponder() override;
};

}  // namespace ComTORVALEKZ2R4_Plugin
