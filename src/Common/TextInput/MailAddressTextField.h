#pragma once

#include <memory>

#include "Common/TextInput/MailAddressFieldEditor.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// A text field with a field editor of its own, a MailAddressFieldEditor.
class KZ_EXPORT MailAddressTextField : public kz::TextField {
public:
    explicit MailAddressTextField(kz::Rect frame = {}) : kz::TextField(frame), _fieldEditor(std::make_unique<MailAddressFieldEditor>()) {
        _fieldEditor->setFieldEditor(true);
    }
    // The editor dies with the field; the field lets go of it first.
    ~MailAddressTextField() override { abortEditing(); }
    std::string className() const override { return "MailAddressTextField"; }
    kz::FieldEditor* fieldEditor() override { return _fieldEditor.get(); }

private:
    std::unique_ptr<MailAddressFieldEditor> _fieldEditor;
};

}  // namespace ComTORVALEKZ2R4_Plugin
