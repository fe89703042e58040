#include "Common/TextInput/MailAddressFieldEditor.h"

#include "Common/TextInput/TextFieldEnvironment.h"
#include "platform/kit/Control.h"
#include "platform/kit/Window.h"

namespace ComTORVALEKZ2R4_Plugin {

bool MailAddressFieldEditor::resignFirstResponder() {
    kz::Window* w = window();
    auto* field = dynamic_cast<kz::Control*>(delegate());
    if (w && w->isVisible() && field && string().empty()) {
        std::string format = TextFieldEnvironment::localizedString("Enter a valid E-mail address.");
        TextFieldEnvironment::showAlertSheet(w, format);
        return false;
    }
    return kz::FieldEditor::resignFirstResponder();
}

}  // namespace ComTORVALEKZ2R4_Plugin
