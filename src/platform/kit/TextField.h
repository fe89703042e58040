#pragma once

#include <memory>
#include <string>

#include "platform/kit/Control.h"
#include "platform/kit/ControlTextDelegate.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/Formatter.h"

namespace kz {

// An editable or read-only text. Typing goes through a field editor: the
// window's shared one, or the field's own (fieldEditor()). With a formatter
// the field stores the formatter's value of the shown text.
class KZ_EXPORT TextField : public Control, public FieldEditorDelegate {
public:
    explicit TextField(Rect frame = {});
    ~TextField() override;
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }
    virtual bool isSecure() const { return false; }

    bool isEditable() const { return _editable; }
    void setEditable(bool on);
    bool isSelectable() const { return _selectable || _editable; }
    void setSelectable(bool on);
    bool isBezeled() const { return _bezeled; }
    void setBezeled(bool on);
    bool isBordered() const { return _bordered; }
    void setBordered(bool on);
    bool drawsBackground() const { return _drawsBackground; }
    void setDrawsBackground(bool on);
    const Color& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(Color color);
    const std::string& placeholderString() const { return _placeholder; }
    void setPlaceholderString(std::string text);

    Formatter* formatter() const { return _formatter.get(); }
    // Shared: a limit formatter is often the field's delegate as well.
    void setFormatter(std::shared_ptr<Formatter> formatter);
    ControlTextDelegate* delegate() const { return _delegate; }
    void setDelegate(ControlTextDelegate* delegate) { _delegate = delegate; }

    // While the field is edited these read and write the editor's text.
    Value objectValue() const override;
    void setObjectValue(Value value) override;
    std::string stringValue() const override;
    void setStringValue(std::string value) override;

    // The editor while the field is being edited, else null.
    FieldEditor* currentEditor() const { return _editor; }
    // A field editor of the field's own, or null for the window's shared one.
    virtual FieldEditor* fieldEditor() { return nullptr; }
    // Begins editing: in a window by becoming its first responder, outside
    // one with a private editor (fields under test, a field being built).
    bool beginEditing();
    // Ends the edit without asking, keeping the text.
    void abortEditing();

    bool acceptsFirstResponder() const override;
    bool becomeFirstResponder() override;

    // Field editor delegate; subclasses refine typing and the end of an edit.
    void textDidBeginEditing(FieldEditor& editor) override;
    bool shouldChangeText(FieldEditor& editor, const TextChange& change) override;
    void textDidChange(FieldEditor& editor) override;
    bool textShouldEndEditing(FieldEditor& editor) override;
    void fieldEditorWillDetach(FieldEditor& editor) override;
    void textDidEndEditing(FieldEditor* editor) override;

private:
    void attachEditor(FieldEditor& editor);
    std::string shownText(const Value& value) const;
    bool _editable = true;
    bool _selectable = true;
    bool _bezeled = true;
    bool _bordered = false;
    bool _drawsBackground = true;
    Color _backgroundColor = Color::textBackgroundColor();
    std::string _placeholder;
    std::shared_ptr<Formatter> _formatter;
    ControlTextDelegate* _delegate = nullptr;
    FieldEditor* _editor = nullptr;
    std::unique_ptr<FieldEditor> _privateEditor;
    std::string _shown;  // the text for the stored value
};

}  // namespace kz
