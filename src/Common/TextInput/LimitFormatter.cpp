#include "Common/TextInput/LimitFormatter.h"

#include "Common/TextInput/CharacterSet.h"
#include "Common/TextInput/TextFieldEnvironment.h"
#include "platform/kit/Application.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

bool LimitFormatter::containNotAllowedCharactor(std::string_view text) const {
    return !_controlCharactersEnabled && CharacterSet::controlCharacterSet().containsMemberOf(text);
}

std::optional<std::string> LimitFormatter::stringForObjectValue(const kz::Value& value) const {
    if (!value.isString()) return std::nullopt;
    return value.string();
}

bool LimitFormatter::getObjectValue(kz::Value* value, const std::string& string, std::string* error) const {
    if (!value) {
        if (error) *error = nullObjectReason();
        return false;
    }
    *value = kz::Value(string);
    return true;
}

void LimitFormatter::controlTextDidBeginEditing(const kz::ControlTextNotification& n) {
    if (auto* field = dynamic_cast<kz::TextField*>(n.control)) setUndoBuffer(field->stringValue());
}

void LimitFormatter::controlTextDidChange(const kz::ControlTextNotification& n) {
    auto* field = dynamic_cast<kz::TextField*>(n.control);
    kz::FieldEditor* editor = n.fieldEditor;
    if (!editor) return;
    std::string text = field && field->isSecure() ? field->stringValue() : editor->string();
    if (!containNotAllowedCharactor(text) && measure(text) <= maximumLimit()) {
        _undoBuffer = std::move(text);
        _undoRange = editor->selectedRange();
        return;
    }
    kz::Application::shared().beep();
    std::string previous = _undoBuffer.value_or("");
    if (field) field->setStringValue(previous);
    else editor->setString(previous);
    editor->setSelectedRange(_undoRange);
}

bool LimitFormatter::controlTextShouldEndEditing(kz::Control& control, kz::FieldEditor& editor) {
    const std::uint32_t minimum = minimumLimit();
    if (minimum == 0) return true;
    const std::string& text = editor.string();
    if (text.empty() || measure(text) >= minimum) return true;
    std::string format = TextFieldEnvironment::localizedString("Please specify at least %d characters for %@.");
    TextFieldEnvironment::showAlertSheet(
        control.window(),
        TextFieldEnvironment::fill(format, minimum, TextFieldEnvironment::fieldTitle(control)));
    return false;
}

}  // namespace ComTORVALEKZ2R4_Plugin
