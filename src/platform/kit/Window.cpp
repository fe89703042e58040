#include "platform/kit/Window.h"

#include "platform/kit/TextField.h"

namespace kz {

Window::Window(Rect contentRect) : _frame(contentRect) {
    setContentView(std::make_shared<View>(Rect(0, 0, contentRect.size.width, contentRect.size.height)));
}

Window::~Window() {
    if (_contentView) _contentView->_rootWindow = nullptr;
}

void Window::setContentView(std::shared_ptr<View> view) {
    if (!view) view = std::make_shared<View>();
    if (_contentView) {
        viewWillLeave(*_contentView);
        _contentView->_rootWindow = nullptr;
    }
    view->removeFromSuperview();
    _contentView = std::move(view);
    _contentView->_rootWindow = this;
}

void Window::makeKeyAndOrderFront() { _visible = true; }

void Window::orderOut() {
    endEditingFor(nullptr);
    _visible = false;
}

bool Window::performClose() {
    if (_delegate && !_delegate->windowShouldClose(*this)) return false;
    close();
    return true;
}

void Window::close() {
    if (_delegate) _delegate->windowWillClose(*this);
    orderOut();
}

bool Window::makeFirstResponder(Responder* responder) {
    if (responder == _firstResponder) return true;
    if (auto* field = dynamic_cast<TextField*>(responder); field && field->currentEditor() && field->currentEditor() == _firstResponder)
        return true;  // already being edited
    if (_firstResponder && !_firstResponder->resignFirstResponder()) return false;
    _firstResponder = nullptr;
    if (!responder) return true;
    if (!responder->acceptsFirstResponder()) return false;
    _firstResponder = responder;
    if (!responder->becomeFirstResponder()) {
        _firstResponder = nullptr;
        return false;
    }
    return true;
}

FieldEditor* Window::fieldEditor(bool create, TextField* client) {
    if (_delegate)
        if (FieldEditor* e = _delegate->windowWillReturnFieldEditor(*this, client)) return e;
    if (client)
        if (FieldEditor* e = client->fieldEditor()) return e;
    if (!_sharedEditor && create) _sharedEditor = std::make_unique<FieldEditor>();
    return _sharedEditor.get();
}

TextField* Window::editedField() const {
    auto* editor = dynamic_cast<FieldEditor*>(_firstResponder);
    return editor ? dynamic_cast<TextField*>(editor->delegate()) : nullptr;
}

bool Window::endEditingFor(const void* client) {
    auto* editor = dynamic_cast<FieldEditor*>(_firstResponder);
    if (!editor) return true;
    if (client && editor->delegate() != client) return true;
    _firstResponder = nullptr;
    editor->endEditing();
    return true;
}

void Window::viewWillLeave(View& view) {
    auto* focused = dynamic_cast<View*>(_firstResponder);
    if (TextField* field = editedField()) focused = field;
    if (focused && focused->isDescendantOf(view)) {
        if (auto* editor = dynamic_cast<FieldEditor*>(_firstResponder)) {
            _firstResponder = nullptr;
            editor->endEditing();
        }
        _firstResponder = nullptr;
    }
}

}  // namespace kz
