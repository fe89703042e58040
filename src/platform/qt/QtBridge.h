#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kit/Image.h"
#include "platform/kit/ViewPeer.h"
#include "platform/kit/Window.h"

#include <QPointer>
#include <QWidget>

namespace kz::qt {

class QtBridge;
class QtViewPeer;

// The Qt side of one kit window: a top-level widget (a dialog, or a message
// box for an alert's panel) and one peer per view of its tree. It hears
// every change below the content view as the kit's peer.
class QtWindowMirror : public ViewPeer {
public:
    QtWindowMirror(QtBridge& bridge, Window& window, QWidget* parent);
    ~QtWindowMirror() override;
    QtWindowMirror(const QtWindowMirror&) = delete;
    QtWindowMirror& operator=(const QtWindowMirror&) = delete;

    Window& window() const { return _window; }
    QWidget* topLevel() const { return _top; }
    QtBridge& bridge() const { return _bridge; }
    // An alert's panel is shown as a message box with the panel's buttons.
    bool isAlert() const { return _alert; }
    QtViewPeer* peerFor(const View& view) const;
    QWidget* widgetFor(const View& view) const;

    void viewChanged(View& view, std::string_view property) override;
    void subviewAdded(View& parent, View& child) override;
    void subviewRemoved(View& parent, View& child) override;

    // A view whose kind of widget changed (a field made editable).
    void rebuild(View& view);
    // Title, size, visibility and a replaced content view follow the kit.
    void sync();
    // Keys the window answers as the kit's pressKey: a button with the key
    // equivalent, else Return ends the edit and sends the field's action,
    // Tab moves to the next field. True when something answered.
    bool windowKey(const std::string& key);
    // Qt's focus goes where the kit's is (a field may keep it).
    void focusEditedField();
    // A peer ran a user action.
    void userActionDone();
    // Button and menu images by name, from the bridge's resolver.
    std::shared_ptr<Image> image(const std::string& name) const;

    // Closing the top-level asks the kit window (its delegate may refuse).
    bool userClose();

private:
    class Forwarder;
    void buildContent();
    void build(View& view, QWidget* parent);
    void forgetTree(View& view);
    void buildAlert();
    QtBridge& _bridge;
    Window& _window;
    QPointer<QWidget> _top;  // owned here (a sheet's: by its parent's too)
    QPointer<QWidget> _content;
    View* _contentView = nullptr;
    bool _alert = false;
    std::shared_ptr<Forwarder> _forwarder;
    std::map<const View*, std::unique_ptr<QtViewPeer>> _peers;
};

// Mirrors kit windows in Qt and keeps them in step: which windows are shown,
// which is modal, their sheets as window-modal dialogs.
class QtBridge {
public:
    static QtBridge& shared();
    QtBridge() = default;
    ~QtBridge();
    QtBridge(const QtBridge&) = delete;
    QtBridge& operator=(const QtBridge&) = delete;

    // Builds the mirror once; it follows the window from then on.
    QtWindowMirror& mirror(Window& window);
    QtWindowMirror* find(const Window& window) const;
    // The mirror of the kit window whose top-level this is.
    QtWindowMirror* findTopLevel(const QWidget* topLevel) const;
    // Orders the kit window front and shows its mirror.
    QWidget* show(Window& window);
    // Drops the mirror (before a window not held by a shared pointer dies).
    void forget(const Window& window);
    void forgetAll();

    // Shows and hides mirrors as the kit windows are, mirrors new sheets,
    // drops mirrors of windows that died; runs after every user action.
    void sweep();
    // The window a modal session runs on is application modal (a sheet:
    // modal for its parent) while it runs.
    void setModal(Window& window, bool modal);

    // The top-level the user works on: the active modal widget, else the
    // last shown visible mirror.
    QWidget* frontWindow() const;

    using ImageResolver = std::function<std::shared_ptr<Image>(const std::string& name)>;
    void setImageResolver(ImageResolver resolver) { _images = std::move(resolver); }
    std::shared_ptr<Image> image(const std::string& name) const { return _images ? _images(name) : nullptr; }

    // Told of every top-level as it is shown (screenshots), with a name.
    using ShownHandler = std::function<void(QWidget& topLevel, const std::string& name)>;
    void setShownHandler(ShownHandler handler) { _shown = std::move(handler); }
    void windowShown(QWidget& topLevel, const std::string& name);

    // Told after each user action a peer delivered (the driver's loop).
    void setActionHandler(std::function<void()> handler) { _action = std::move(handler); }
    void userActionDone();

private:
    struct Entry {
        Window* window;
        std::weak_ptr<Window> weak;
        bool owned;  // held by a shared pointer: its death is seen
        std::unique_ptr<QtWindowMirror> mirror;
        bool modal = false;
        unsigned long shownOrder = 0;
    };
    Entry* entry(const Window& window);
    std::vector<std::unique_ptr<Entry>> _entries;
    ImageResolver _images;
    ShownHandler _shown;
    std::function<void()> _action;
    unsigned long _showCounter = 0;
    bool _sweeping = false;
};

}  // namespace kz::qt
