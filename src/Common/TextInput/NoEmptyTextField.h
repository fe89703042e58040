#pragma once

#include <memory>

#include "Common/TextInput/NoEmptyFieldEditor.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// A text field with a field editor of its own, a NoEmptyFieldEditor.
class KZ_EXPORT NoEmptyTextField : public kz::TextField {
public:
    explicit NoEmptyTextField(kz::Rect frame = {}) : kz::TextField(frame), _fieldEditor(std::make_unique<NoEmptyFieldEditor>()) {
        _fieldEditor->setFieldEditor(true);
    }
    // The editor dies with the field; the field lets go of it first.
    ~NoEmptyTextField() override { abortEditing(); }
    std::string className() const override { return "NoEmptyTextField"; }
    kz::FieldEditor* fieldEditor() override { return _fieldEditor.get(); }

private:
    std::unique_ptr<NoEmptyFieldEditor> _fieldEditor;
};

}  // namespace ComTORVALEKZ2R4_Plugin
