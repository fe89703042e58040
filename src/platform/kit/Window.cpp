#include "platform/kit/Window.h"

#include <cmath>

#include "platform/kit/TextField.h"
#include "platform/kit/WindowFrameStore.h"

namespace kz {

Window::Window(Rect contentRect, unsigned styleMask) : _frame(contentRect), _styleMask(styleMask) {
    setContentView(std::make_shared<View>(Rect(0, 0, contentRect.size.width, contentRect.size.height)));
}

Window::~Window() {
    for (auto& w : _waitingSheets) w.sheet->_sheetParent = nullptr;
    if (_sheet) _sheet->_sheetParent = nullptr;
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

void Window::makeKeyAndOrderFront() {
    _visible = true;
    display();
}

void Window::center() {
    constexpr double kScreenWidth = 1440, kScreenHeight = 900;
    double x = std::floor((kScreenWidth - _frame.size.width) / 2);
    double y = std::floor((kScreenHeight - _frame.size.height) * 2 / 3);
    setFrame(Rect(x, y, _frame.size.width, _frame.size.height));
}

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

namespace kz {

void Window::setFrame(Rect frame) {
    _frame = frame;
    saveFrameUsingName(_autosaveName);
}

bool Window::setFrameAutosaveName(std::string name) {
    _autosaveName = std::move(name);
    if (_autosaveName.empty()) return true;
    if (!setFrameUsingName(_autosaveName)) saveFrameUsingName(_autosaveName);
    return true;
}

void Window::saveFrameUsingName(const std::string& name) const {
    if (!name.empty()) WindowFrameStore::save(name, _frame);
}

bool Window::setFrameUsingName(const std::string& name) {
    auto saved = WindowFrameStore::frame(name);
    if (!saved) return false;
    _frame = *saved;
    return true;
}

void Window::removeFrameUsingName(const std::string& name) { WindowFrameStore::remove(name); }

void Window::beginSheet(std::shared_ptr<Window> sheet, std::function<void(long)> handler) {
    if (!sheet || sheet.get() == this || sheet->_sheetParent) return;
    sheet->_sheetParent = this;
    if (_sheet) {
        _waitingSheets.push_back({std::move(sheet), std::move(handler)});
        return;
    }
    _sheet = std::move(sheet);
    _sheetHandler = std::move(handler);
    _sheet->makeKeyAndOrderFront();
}

bool Window::endSheet(const Window& sheet, long code) {
    for (auto it = _waitingSheets.begin(); it != _waitingSheets.end(); ++it)
        if (it->sheet.get() == &sheet) {
            PendingSheet p = std::move(*it);
            _waitingSheets.erase(it);
            p.sheet->_sheetParent = nullptr;
            if (p.handler) p.handler(code);
            return true;
        }
    if (_sheet.get() != &sheet) return false;
    auto ended = std::move(_sheet);
    auto handler = std::move(_sheetHandler);
    _sheet.reset();
    _sheetHandler = nullptr;
    ended->orderOut();
    ended->_sheetParent = nullptr;
    if (handler) handler(code);
    // The next waiting sheet comes down once the handler is done (it may
    // have begun one of its own, which then waits its turn too).
    if (!_sheet && !_waitingSheets.empty()) {
        PendingSheet next = std::move(_waitingSheets.front());
        _waitingSheets.pop_front();
        _sheet = std::move(next.sheet);
        _sheetHandler = std::move(next.handler);
        _sheet->makeKeyAndOrderFront();
    }
    return true;
}

Window& Window::frontmost() {
    Window* w = this;
    while (w->_sheet) w = w->_sheet.get();
    return *w;
}

}  // namespace kz
