#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/kit/Event.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/View.h"
#include "platform/kit/WindowDelegate.h"

namespace kz {

class TextField;

enum WindowStyleMask : unsigned {
    BorderlessWindowMask = 0,
    TitledWindowMask = 1 << 0,
    ClosableWindowMask = 1 << 1,
    MiniaturizableWindowMask = 1 << 2,
    ResizableWindowMask = 1 << 3,
    UtilityWindowMask = 1 << 4,
    HUDWindowMask = 1 << 13,
};

// Stacking levels, lowest first, by the platform's numbers.
enum class WindowLevel : int { Normal = 0, Floating = 3, ModalPanel = 8, MainMenu = 24, Status = 25, PopUpMenu = 101 };

// A top-level window: a content view, a title, a frame on the screen and the
// keyboard focus (first responder) among its views.
class KZ_EXPORT Window : public Responder, public std::enable_shared_from_this<Window> {
public:
    explicit Window(Rect contentRect = Rect(0, 0, 480, 360),
                    unsigned styleMask = TitledWindowMask | ClosableWindowMask);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual std::string className() const { return "Window"; }

    const std::string& title() const { return _title; }
    void setTitle(std::string title) { _title = std::move(title); }
    const Rect& frame() const { return _frame; }
    void setFrame(Rect frame);
    unsigned styleMask() const { return _styleMask; }
    virtual void setStyleMask(unsigned mask) { _styleMask = mask; }
    WindowLevel level() const { return _level; }
    void setLevel(WindowLevel level) { _level = level; }
    bool hasShadow() const { return _hasShadow; }
    virtual void setHasShadow(bool on) { _hasShadow = on; }
    // A titled window can take the keyboard and be the main window.
    virtual bool canBecomeKeyWindow() const { return (_styleMask & TitledWindowMask) != 0; }
    virtual bool canBecomeMainWindow() const { return canBecomeKeyWindow(); }
    // Redraws the window (a bridge repaints; headless, subclasses update
    // what depends on the moment).
    virtual void display() {}
    // An input event for the window; true when it was handled here.
    virtual bool sendEvent(const Event& /*event*/) { return false; }

    // The frame is saved under the name whenever it is stored, and a frame
    // saved before (also by an earlier run) is taken when the name is set.
    const std::string& frameAutosaveName() const { return _autosaveName; }
    bool setFrameAutosaveName(std::string name);
    void saveFrameUsingName(const std::string& name) const;
    bool setFrameUsingName(const std::string& name);
    static void removeFrameUsingName(const std::string& name);

    View& contentView() const { return *_contentView; }
    std::shared_ptr<View> sharedContentView() const { return _contentView; }
    void setContentView(std::shared_ptr<View> view);

    // Places the window in the middle of the main screen (1440 x 900
    // points headless), a little above the centre as dialogs sit.
    void center();

    bool isVisible() const { return _visible; }
    void makeKeyAndOrderFront();
    void orderFront() { makeKeyAndOrderFront(); }
    // Hides the window, ending any edit in it.
    void orderOut();
    // Asks the delegate, then closes; false when it refused.
    bool performClose();
    void close();

    WindowDelegate* delegate() const { return _delegate; }
    void setDelegate(WindowDelegate* delegate) { _delegate = delegate; }

    // Sheets: one is attached at a time; a sheet begun while another is
    // shown waits for it to end. The handler hears the code the sheet ended with.
    void beginSheet(std::shared_ptr<Window> sheet, std::function<void(long)> handler = nullptr);
    // Ends a sheet (attached or waiting) with the code; false when it is not one of ours.
    bool endSheet(const Window& sheet, long code);
    Window* attachedSheet() const { return _sheet ? _sheet.get() : nullptr; }
    Window* sheetParent() const { return _sheetParent; }
    bool isSheet() const { return _sheetParent != nullptr; }
    // The window the user works on: the innermost attached sheet, or this.
    Window& frontmost();

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
    unsigned _styleMask;
    WindowLevel _level = WindowLevel::Normal;
    bool _hasShadow = true;
    std::string _autosaveName;
    struct PendingSheet {
        std::shared_ptr<Window> sheet;
        std::function<void(long)> handler;
    };
    std::shared_ptr<Window> _sheet;
    std::function<void(long)> _sheetHandler;
    std::deque<PendingSheet> _waitingSheets;
    Window* _sheetParent = nullptr;
};

}  // namespace kz
