#include "Common/TextInput/ValidationFormatter.h"

#include "Common/TextInput/TextFieldEnvironment.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/Window.h"

namespace ComTORVALEKZ2R4_Plugin {

bool ValidationFormatter::isValid(const std::string&) const { return true; }

bool ValidationFormatter::controlTextShouldEndEditing(kz::Control& control, kz::FieldEditor& editor) {
    kz::Window* window = control.window();
    if (!window || !window->isVisible() || editor.string().empty() || isValid(editor.string())) return true;
    TextFieldEnvironment::showAlertSheet(window, _messageString.value_or("--"));
    return false;
}

}  // namespace ComTORVALEKZ2R4_Plugin
