#include "platform/kit/TextField.h"

#include "platform/kit/ViewClassOf.h"

#include "platform/kit/Application.h"
#include "platform/kit/Window.h"

namespace kz {

TextField::TextField(Rect frame) : Control(frame) { Control::setObjectValue(Value("")); }

TextField::~TextField() {
    if (_editor && _editor->delegate() == this) _editor->setDelegate(nullptr);
}

void TextField::setEditable(bool on) {
    if (on == _editable) return;
    _editable = on;
    if (!on && _editor) abortEditing();
    changed("editable");
}
void TextField::setSelectable(bool on) {
    if (on == _selectable) return;
    _selectable = on;
    changed("selectable");
}
void TextField::setBezeled(bool on) {
    if (on == _bezeled) return;
    _bezeled = on;
    changed("bezeled");
}
void TextField::setBordered(bool on) {
    if (on == _bordered) return;
    _bordered = on;
    changed("bordered");
}
void TextField::setDrawsBackground(bool on) {
    if (on == _drawsBackground) return;
    _drawsBackground = on;
    changed("drawsBackground");
}
void TextField::setBackgroundColor(Color color) {
    if (color == _backgroundColor) return;
    _backgroundColor = std::move(color);
    changed("backgroundColor");
}
void TextField::setPlaceholderString(std::string text) {
    if (text == _placeholder) return;
    _placeholder = std::move(text);
    changed("placeholderString");
}

void TextField::setFormatter(std::shared_ptr<Formatter> formatter) {
    _formatter = std::move(formatter);
    changed("formatter");
}

std::string TextField::shownText(const Value& value) const {
    if (_formatter) return _formatter->stringForObjectValue(value).value_or("");
    return value.stringValue();
}

Value TextField::objectValue() const {
    if (!_editor) return Control::objectValue();
    const std::string& text = _editor->string();
    Value v;
    if (_formatter && _formatter->getObjectValue(&v, text, nullptr)) return v;
    return Value(text);
}

void TextField::setObjectValue(Value value) {
    if (_editor) _editor->setString(shownText(value));
    Control::setObjectValue(std::move(value));
}

std::string TextField::stringValue() const { return _editor ? _editor->string() : shownText(Control::objectValue()); }

void TextField::setStringValue(std::string text) {
    Value v;
    if (!_formatter || !_formatter->getObjectValue(&v, text, nullptr)) v = Value(text);
    if (_editor) _editor->setString(std::move(text));
    Control::setObjectValue(std::move(v));
}

bool TextField::acceptsFirstResponder() const { return isEnabled() && isSelectable() && !isHiddenOrHasHiddenAncestor(); }

bool TextField::becomeFirstResponder() {
    Window* w = window();
    if (!w || !acceptsFirstResponder()) return false;
    FieldEditor* editor = w->fieldEditor(true, this);
    if (!editor) return false;
    attachEditor(*editor);
    w->setFirstResponderDirectly(editor);
    return true;
}

bool TextField::beginEditing() {
    if (_editor) return true;
    if (Window* w = window()) return w->makeFirstResponder(this);
    if (!acceptsFirstResponder()) return false;
    FieldEditor* editor = fieldEditor();
    if (!editor) {
        if (!_privateEditor) _privateEditor = std::make_unique<FieldEditor>();
        editor = _privateEditor.get();
    }
    attachEditor(*editor);
    return true;
}

void TextField::attachEditor(FieldEditor& editor) {
    if (editor.delegate() && editor.delegate() != this) editor.endEditing();
    editor.beginEditing(this, stringValue(), window());
    _editor = &editor;
}

void TextField::abortEditing() {
    if (!_editor) return;
    if (Window* w = window(); w && w->firstResponder() == _editor) {
        w->endEditingFor(this);
        return;
    }
    _editor->endEditing();
}

void TextField::textDidBeginEditing(FieldEditor& editor) {
    if (_delegate) _delegate->controlTextDidBeginEditing({this, &editor});
}

bool TextField::shouldChangeText(FieldEditor&, const TextChange&) { return isEditable() && isEnabled(); }

void TextField::textDidChange(FieldEditor& editor) {
    if (_formatter) {
        std::optional<std::string> replacement;
        std::string error;
        if (!_formatter->isPartialStringValid(editor.string(), editor.selectedRange(), &replacement, &error)) {
            if (replacement) {
                editor.setString(*replacement);
                editor.setSelectedRange(Range{editor.selectedRange().location, 0});
            } else {
                editor.undoLastChange();
                Application::shared().beep();
                return;
            }
        }
    }
    changed("stringValue");
    if (_delegate) _delegate->controlTextDidChange({this, &editor});
}

bool TextField::textShouldEndEditing(FieldEditor& editor) {
    if (_formatter) {
        Value v;
        std::string error;
        if (!_formatter->getObjectValue(&v, editor.string(), &error)) {
            Application::shared().beep();
            return false;
        }
    }
    return !_delegate || _delegate->controlTextShouldEndEditing(*this, editor);
}

void TextField::fieldEditorWillDetach(FieldEditor& editor) {
    std::string text = editor.string();
    _editor = nullptr;
    setStringValue(std::move(text));
}

void TextField::textDidEndEditing(FieldEditor* editor) {
    if (editor && _delegate) _delegate->controlTextDidEndEditing({this, editor});
}

const ViewClass& TextField::described() {
    static const ViewClass c =
        ViewClassOf<TextField>("TextField", &Control::described())
            .property("editable", PropertyType::Bool, [](const TextField& f) { return Value(f.isEditable()); },
                      [](TextField& f, const Value& on) { f.setEditable(on.boolValue()); })
            .setter("selectable", PropertyType::Bool, [](TextField& f, const Value& on) { f.setSelectable(on.boolValue()); })
            .setter("bezeled", PropertyType::Bool, [](TextField& f, const Value& on) { f.setBezeled(on.boolValue()); })
            .setter("bordered", PropertyType::Bool, [](TextField& f, const Value& on) { f.setBordered(on.boolValue()); })
            .setter("drawsBackground", PropertyType::Bool, [](TextField& f, const Value& on) { f.setDrawsBackground(on.boolValue()); })
            .setter("placeholder", PropertyType::String, [](TextField& f, const Value& p) { f.setPlaceholderString(p.string()); })
            // A secure field's text never leaves it: eight stars, or nothing.
            .property("value",
                      [](const TextField& f) {
                          std::string value = f.stringValue();
                          return Value(f.isSecure() ? std::string(value.empty() ? 0 : 8, '*') : value);
                      })
            .property("editing", [](const TextField& f) { return Value(f.currentEditor() != nullptr); })
            .shows("value", "value", DumpShape::Text)
            .shows("read-only", "editable", DumpShape::WordUnless)
            .shows("editing", "editing", DumpShape::Word)
            .reports("value")
            .reports("editable")
            .done();
    return c;
}

}  // namespace kz
