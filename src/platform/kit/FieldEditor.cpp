#include "platform/kit/FieldEditor.h"

#include <algorithm>

#include "platform/kit/Utf16.h"

namespace kz {

FieldEditor::~FieldEditor() {
    if (FieldEditorDelegate* d = _delegate) {
        _delegate = nullptr;
        d->fieldEditorWillDetach(*this);
    }
}

void FieldEditor::setString(std::string text) {
    _text = std::move(text);
    setSelectedRange(_selection);
}

void FieldEditor::setSelectedRange(Range range) {
    std::size_t n = Utf16::length(_text);
    range.location = std::min(range.location, n);
    range.length = std::min(range.length, n - range.location);
    _selection = range;
}

bool FieldEditor::replaceCharacters(Range range, const std::string& replacement) {
    auto from = Utf16::byteOffset(_text, range.location);
    auto to = Utf16::byteOffset(_text, range.end());
    if (!from || !to || range.end() < range.location) return false;
    TextChange change;
    change.range = range;
    change.replacement = replacement;
    change.candidate = _text.substr(0, *from) + replacement + _text.substr(*to);
    change.selectionAfter = Range{range.location + Utf16::length(replacement), 0};
    if (_delegate && !_began) {
        _began = true;
        _delegate->textDidBeginEditing(*this);
    }
    if (_delegate && !_delegate->shouldChangeText(*this, change)) return false;
    _textBefore = _text;
    _selectionBefore = _selection;
    _text = std::move(change.candidate);
    _selection = change.selectionAfter;
    if (_delegate) _delegate->textDidChange(*this);
    return true;
}

bool FieldEditor::deleteBackward() {
    Range r = _selection;
    if (r.length == 0) {
        if (r.location == 0) return false;
        // Step back over a whole character, a surrogate pair included.
        r = Range{r.location - 1, 1};
        if (!Utf16::byteOffset(_text, r.location)) r = Range{r.location - 1, 2};
    }
    return replaceCharacters(r, "");
}

void FieldEditor::undoLastChange() {
    _text = _textBefore;
    _selection = _selectionBefore;
}

void FieldEditor::beginEditing(FieldEditorDelegate* delegate, std::string text, Window* window) {
    _delegate = delegate;
    _window = window;
    _text = std::move(text);
    _textBefore = _text;
    _selection = Range{0, Utf16::length(_text)};
    _selectionBefore = _selection;
    _began = false;
}

bool FieldEditor::resignFirstResponder() {
    if (_delegate && !_delegate->textShouldEndEditing(*this)) return false;
    endEditing();
    return true;
}

void FieldEditor::endEditing() {
    FieldEditorDelegate* d = _delegate;
    if (!d) return;
    d->fieldEditorWillDetach(*this);
    _delegate = nullptr;
    _began = false;
    d->textDidEndEditing(this);
}

}  // namespace kz
