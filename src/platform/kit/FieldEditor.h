#pragma once

#include <string>

#include "platform/kit/FieldEditorDelegate.h"
#include "platform/kit/Responder.h"

namespace kz {

class Window;

// The text view through which every keystroke into a text field goes. A
// window shares one among its fields; a field may bring its own.
class KZ_EXPORT FieldEditor : public Responder {
public:
    FieldEditor() = default;
    // The field being edited keeps the text.
    ~FieldEditor() override;
    FieldEditor(const FieldEditor&) = delete;
    FieldEditor& operator=(const FieldEditor&) = delete;

    const std::string& string() const { return _text; }
    // Sets the text without asking anyone (a field reverting an edit); the
    // selection is kept inside the text.
    void setString(std::string text);
    Range selectedRange() const { return _selection; }
    void setSelectedRange(Range range);

    bool isFieldEditor() const { return _isFieldEditor; }
    void setFieldEditor(bool on) { _isFieldEditor = on; }

    FieldEditorDelegate* delegate() const { return _delegate; }
    // The field being edited, or null (not owned).
    void setDelegate(FieldEditorDelegate* delegate) { _delegate = delegate; }
    bool isEditing() const { return _delegate != nullptr; }

    // Typing: replaces the range when the delegate agrees; false when the
    // range lies outside the text or the change was refused.
    bool replaceCharacters(Range range, const std::string& replacement);
    bool insertText(const std::string& text) { return replaceCharacters(_selection, text); }
    bool deleteBackward();
    // Puts back text and selection from before the last change.
    void undoLastChange();

    // Starts editing text for a delegate, with all of it selected.
    void beginEditing(FieldEditorDelegate* delegate, std::string text, Window* window);
    Window* window() const { return _window; }

    bool acceptsFirstResponder() const override { return true; }
    // Asks the delegate, then ends the edit; false keeps the focus.
    bool resignFirstResponder() override;
    // Ends the edit without asking (the window forcing it).
    void endEditing();

private:
    std::string _text;
    Range _selection;
    std::string _textBefore;
    Range _selectionBefore;
    bool _began = false;
    bool _isFieldEditor = true;
    FieldEditorDelegate* _delegate = nullptr;
    Window* _window = nullptr;
};

}  // namespace kz
