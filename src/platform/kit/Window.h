#pragma once

#include <memory>
#include <string>

#include "platform/kit/FieldEditor.h"
#include "platform/kit/View.h"
#include "platform/kit/WindowDelegate.h"

namespace kz {

class TextField;

// A top-level window: a content view, a title, a frame on the screen and the
// keyboard focus (first responder) among its views.
class KZ_EXPORT Window : public Responder, public std::enable_shared_from_this<Window> {
public:
    explicit Window(Rect contentRect = Rect(0, 0, 480, 360));
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual std::string className() const { return "Window"; }

    const std::string& title() const { return _title; }
    void setTitle(std::string title) { _title = std::move(title); }
    const Rect& frame() const { return _frame; }
    void setFrame(Rect frame) { _frame = frame; }

    View& contentView() const { return *_contentView; }
    std::shared_ptr<View> sharedContentView() const { return _contentView; }
    void setContentView(std::shared_ptr<View> view);

    bool isVisible() const { return _visible; }
    void makeKeyAndOrderFront();
    void orderFront() { _visible = true; }
    // Hides the window, ending any edit in it.
    void orderOut();
    // Asks the delegate, then closes; false when it refused.
    bool performClose();
    void close();

    WindowDelegate* delegate() const { return _delegate; }
    void setDelegate(WindowDelegate* delegate) { _delegate = delegate; }

    // The focus: a view, the field editor of the field being edited, or null.
    Responder* firstResponder() const { return _firstResponder; }
    // Moves the focus; false when the current holder keeps it or the new one
    // does not take it.
    bool makeFirstResponder(Responder* responder);
    // For a field taking the focus through its editor.
    void setFirstResponderDirectly(Responder* responder) { _firstResponder = responder; }
    // The editor for a field: the delegate's, the field's own, or the shared one.
    FieldEditor* fieldEditor(bool create, TextField* client);
    // Ends the edit of the object (any edit when null) without asking.
    bool endEditingFor(const void* client);
    // The text field being edited, or null.
    TextField* editedField() const;

    // A view is leaving the tree or hiding: the focus cannot stay inside it.
    void viewWillLeave(View& view);

private:
    std::string _title;
    Rect _frame;
    std::shared_ptr<View> _contentView;
    bool _visible = false;
    WindowDelegate* _delegate = nullptr;
    Responder* _firstResponder = nullptr;
    std::unique_ptr<FieldEditor> _sharedEditor;
};

}  // namespace kz
