#include "platform/qt/QtBridge.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "platform/kit/Application.h"

#include <algorithm>
#include <utility>

#include "platform/kit/Box.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScrollView.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TextField.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

// The content view's peer: forwards to the mirror while it lives.
class QtWindowMirror::Forwarder : public ViewPeer {
public:
    explicit Forwarder(QtWindowMirror* target) : target(target) {}
    void viewChanged(View& view, std::string_view property) override {
        if (target) target->viewChanged(view, property);
    }
    void subviewAdded(View& parent, View& child) override {
        if (target) target->subviewAdded(parent, child);
    }
    void subviewRemoved(View& parent, View& child) override {
        if (target) target->subviewRemoved(parent, child);
    }
    QtWindowMirror* target;
};

namespace {

// A kit window's top-level: closing asks the kit, keys go to the kit first.
class KitWindowWidget : public QDialog {
public:
    KitWindowWidget(QtWindowMirror& mirror, QWidget* parent) : QDialog(parent), _mirror(mirror) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        // The kit decides; the sweep hides the widget once the window is out.
        event->ignore();
        _mirror.userClose();
    }
    void keyPressEvent(QKeyEvent* event) override {
        std::string key;
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) key = "\r";
        else if (event->key() == Qt::Key_Escape) key = "\x1b";
        if (!key.empty() && _mirror.windowKey(key)) return;
        if (key == "\x1b") return;  // not QDialog's reject: the kit window stays
        QDialog::keyPressEvent(event);
    }

private:
    QtWindowMirror& _mirror;
};

// An alert's panel (Alert lays one out): read-only texts and buttons that
// answer 1000, 1001, ... through the alert's own handler.
bool looksLikeAlert(const Window& window) {
    if (window.className() != "Panel") return false;
    bool button = false;
    for (const auto& v : window.contentView().subviews()) {
        if (auto* b = dynamic_cast<Button*>(v.get())) {
            if (b->action().selector != "buttonPressed:" || b->tag() < AlertFirstButtonReturn) return false;
            button = true;
        } else if (auto* f = dynamic_cast<TextField*>(v.get())) {
            if (f->isEditable()) return false;
        } else {
            return false;
        }
    }
    return button;
}

std::string nameOf(const Window& window) {
    return window.title().empty() ? window.className() : window.title();
}

}  // namespace

// ---- QtWindowMirror

QtWindowMirror::QtWindowMirror(QtBridge& bridge, Window& window, QWidget* parent)
    : _bridge(bridge), _window(window), _forwarder(std::make_shared<Forwarder>(this)) {
    _alert = looksLikeAlert(window);
    if (_alert) {
        buildAlert();
        _top->setProperty("kzClass", toQString(window.className()));
        if (parent) _top->setParent(parent, _top->windowFlags());
        return;
    }
    auto* top = new KitWindowWidget(*this, parent);
    _top = top;
    _top->setProperty("kzClass", toQString(window.className()));
    if ((window.styleMask() & TitledWindowMask) == 0) top->setWindowFlag(Qt::FramelessWindowHint, true);
    buildContent();
    sync();
}

QtWindowMirror::~QtWindowMirror() {
    _forwarder->target = nullptr;
    // The window may be gone already; only its content view's peer pointer
    // is ours to clear, and only while it is still the one we set.
    _peers.clear();
    // Deferred: the mirror may go while one of its widgets is in a signal.
    if (_top && QCoreApplication::instance()) {
        _top->hide();
        _top->deleteLater();
    }
}

void QtWindowMirror::buildAlert() {
    auto* box = new QMessageBox();
    _top = box;
    box->setIcon(QMessageBox::Warning);
    std::vector<TextField*> texts;
    std::vector<Button*> buttons;
    for (const auto& v : _window.contentView().subviews()) {
        if (auto* b = dynamic_cast<Button*>(v.get())) buttons.push_back(b);
        else if (auto* f = dynamic_cast<TextField*>(v.get())) texts.push_back(f);
    }
    box->setTextFormat(Qt::PlainText);
    QString message = texts.empty() ? QString() : displayText(texts[0]->stringValue());
    QString informative = texts.size() > 1 ? displayText(texts[1]->stringValue()) : QString();
    // An alert that says everything in its informative text: Qt wraps that
    // text to the width of an empty message, a few words a line (and breaks
    // Japanese inside words), so it is shown as the message.
    if (message.isEmpty()) std::swap(message, informative);
    box->setText(message);
    box->setInformativeText(informative);
    box->setWindowTitle(toQString(_window.title()));
    for (Button* b : buttons) {
        QPushButton* q = box->addButton(toQString(b->title()), QMessageBox::ActionRole);
        q->setProperty("kzTag", QVariant::fromValue<qlonglong>(b->tag()));
        if (b->keyEquivalent() == "\r") box->setDefaultButton(q);
        if (b->keyEquivalent() == "\x1b") box->setEscapeButton(q);
        Button* kit = b;  // the alert's buttons live as long as its panel
        QObject::connect(q, &QPushButton::clicked, [this, kit] {
            Application::EventScope scope(Event::mouseDown({}));
            kit->performClick();
            userActionDone();
        });
    }
}

void QtWindowMirror::buildContent() {
    _peers.clear();
    delete _content;
    _content = nullptr;
    _contentView = &_window.contentView();
    _contentView->setPeer(_forwarder);
    build(*_contentView, _top);
    _content = widgetFor(*_contentView);
}

void QtWindowMirror::build(View& view, QWidget* parent) {
    std::unique_ptr<QtViewPeer> peer;
    if (auto* p = dynamic_cast<PopUpButton*>(&view)) peer = std::make_unique<QtPopUpPeer>(*this, *p, parent);
    else if (auto* b = dynamic_cast<Button*>(&view)) peer = std::make_unique<QtButtonPeer>(*this, *b, parent);
    else if (auto* m = dynamic_cast<Matrix*>(&view)) peer = std::make_unique<QtMatrixPeer>(*this, *m, parent);
    else if (auto* s = dynamic_cast<Slider*>(&view)) peer = std::make_unique<QtSliderPeer>(*this, *s, parent);
    else if (auto* s = dynamic_cast<Stepper*>(&view)) peer = std::make_unique<QtStepperPeer>(*this, *s, parent);
    else if (auto* d = dynamic_cast<DatePicker*>(&view)) peer = std::make_unique<QtDatePickerPeer>(*this, *d, parent);
    else if (auto* f = dynamic_cast<TextField*>(&view)) peer = std::make_unique<QtTextFieldPeer>(*this, *f, parent);
    else if (auto* t = dynamic_cast<TableView*>(&view)) peer = std::make_unique<QtTablePeer>(*this, *t, parent);
    else if (dynamic_cast<Box*>(&view)) peer = std::make_unique<QtBoxPeer>(*this, view, parent);
    else if (dynamic_cast<ImageView*>(&view)) peer = std::make_unique<QtImageViewPeer>(*this, view, parent);
    else if (auto* t = dynamic_cast<TabView*>(&view)) peer = std::make_unique<QtTabViewPeer>(*this, *t, parent);
    else if (dynamic_cast<ScrollView*>(&view)) peer = std::make_unique<QtScrollViewPeer>(*this, view, parent);
    else peer = std::make_unique<QtPlainPeer>(*this, view, parent);
    QtViewPeer* p = peer.get();
    _peers[&view] = std::move(peer);
    p->update("");
    for (const auto& sub : view.subviews()) build(*sub, p->container());
    // Children are placed by their frames in this one; stacking follows the kit's order.
    for (const auto& sub : view.subviews())
        if (QWidget* w = widgetFor(*sub)) w->raise();
}

void QtWindowMirror::forgetTree(View& view) {
    // The views below before their superviews.
    std::vector<View*> below;
    view.forEachDescendant([&](View& v) { below.push_back(&v); });
    for (auto it = below.rbegin(); it != below.rend(); ++it) _peers.erase(*it);
    _peers.erase(&view);
}

QtViewPeer* QtWindowMirror::peerFor(const View& view) const {
    auto it = _peers.find(&view);
    return it == _peers.end() ? nullptr : it->second.get();
}

QWidget* QtWindowMirror::widgetFor(const View& view) const {
    QtViewPeer* p = peerFor(view);
    return p ? p->widget() : nullptr;
}

void QtWindowMirror::viewChanged(View& view, std::string_view property) {
    if (_alert) return;
    // Another kind of widget (a check box that became a push button, a
    // label that became editable): built anew, never from inside the peer.
    if (property == "buttonType" || property == "editable") {
        rebuild(view);
        return;
    }
    if (QtViewPeer* p = peerFor(view)) p->update(property);
    // Children sit in flipped coordinates: a new height moves them.
    if (property == "frame")
        for (const auto& sub : view.subviews())
            if (QtViewPeer* c = peerFor(*sub)) c->placeWidget();
}

void QtWindowMirror::subviewAdded(View& parent, View& child) {
    if (_alert) return;
    QtViewPeer* p = peerFor(parent);
    if (!p) return;
    if (peerFor(child)) subviewRemoved(parent, child);
    build(child, p->container());
    if (QWidget* w = widgetFor(child)) {
        w->raise();
        if (p->widget()->isVisible() && !child.isHidden()) w->show();
    }
}

void QtWindowMirror::subviewRemoved(View&, View& child) {
    if (_alert) return;
    QWidget* w = widgetFor(child);
    forgetTree(child);
    if (w) {
        w->hide();
        w->setProperty("kzKind", QVariant());  // no longer a view's widget
        w->deleteLater();  // the removal may come from inside one of its own signals
    }
}

void QtWindowMirror::rebuild(View& view) {
    QtViewPeer* p = peerFor(view);
    if (!p || &view == _contentView) return;
    QWidget* parent = p->widget()->parentWidget();
    QWidget* old = p->widget();
    const bool visible = old->isVisible();
    forgetTree(view);
    old->hide();
    old->setProperty("kzKind", QVariant());
    old->deleteLater();
    build(view, parent);
    if (QWidget* w = widgetFor(view)) {
        w->stackUnder(old);
        if (visible) w->show();
    }
}

void QtWindowMirror::sync() {
    if (_alert) return;
    if (&_window.contentView() != _contentView) {
        buildContent();
        if (_content && _top->isVisible()) _content->show();
    }
    _top->setWindowTitle(toQString(_window.title()));
    const Size size = _window.frame().size;
    const QSize want(static_cast<int>(size.width), static_cast<int>(size.height));
    if (_top->size() != want) _top->setFixedSize(want);
    if (_content) _content->setGeometry(QRect(QPoint(0, 0), want));
    if (!_top->isVisible() && !_top->parentWidget()) {
        // Where the kit put it on its screen, flipped onto Qt's.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double screenHeight = screen ? screen->geometry().height() : 900;
        _top->move(QtGeometry::toQt(_window.frame(), screenHeight).topLeft());
    }
}

bool QtWindowMirror::userClose() {
    const bool closed = _window.performClose();
    userActionDone();
    return closed;
}

void QtWindowMirror::userActionDone() { _bridge.userActionDone(); }

std::shared_ptr<Image> QtWindowMirror::image(const std::string& name) const { return _bridge.image(name); }

namespace {
View* findView(View& root, const std::function<bool(View&)>& pred) { return pred(root) ? &root : root.findDescendant(pred); }
bool usable(View& v) {
    auto* c = dynamic_cast<Control*>(&v);
    return !v.isHiddenOrHasHiddenAncestor() && (!c || c->isEnabled());
}
}  // namespace

bool QtWindowMirror::windowKey(const std::string& key) {
    bool answered = false;
    {
        Application::EventScope event(Event::keyDown(key));
        if (_window.sendEvent(Event::keyDown(key))) {
            answered = true;
        } else if (key == "\t") {
            std::vector<TextField*> fields;
            findView(_window.contentView(), [&](View& v) {
                if (auto* f = dynamic_cast<TextField*>(&v); f && f->acceptsFirstResponder() && usable(v))
                    fields.push_back(f);
                return false;
            });
            if (!fields.empty()) {
                TextField* current = _window.editedField();
                std::size_t next = 0;
                for (std::size_t i = 0; i < fields.size(); ++i)
                    if (fields[i] == current) next = (i + 1) % fields.size();
                _window.makeFirstResponder(fields[next]);  // the field may keep the focus
                answered = true;
            }
        } else if (auto* b = dynamic_cast<Button*>(findView(_window.contentView(), [&](View& v) {
                       auto* b = dynamic_cast<Button*>(&v);
                       return b && usable(v) && b->keyEquivalent() == key;
                   }))) {
            b->performClick();
            answered = true;
        } else if (key == "\r") {
            if (TextField* f = _window.editedField()) {
                if (_window.makeFirstResponder(nullptr)) f->sendAction();
                answered = true;
            }
        }
    }
    if (answered) {
        focusEditedField();
        userActionDone();
    }
    return answered;
}

void QtWindowMirror::focusEditedField() {
    if (TextField* f = _window.editedField())
        if (auto* p = dynamic_cast<QtTextFieldPeer*>(peerFor(*f))) {
            p->showEditorText();
            if (!p->widget()->hasFocus()) p->widget()->setFocus(Qt::OtherFocusReason);
        }
}

// ---- QtBridge

QtBridge& QtBridge::shared() {
    static QtBridge bridge;
    return bridge;
}

QtBridge::~QtBridge() { forgetAll(); }

QtBridge::Entry* QtBridge::entry(const Window& window) {
    for (auto& e : _entries)
        if (e->window == &window && (!e->owned || !e->weak.expired())) return e.get();
    return nullptr;
}

QtWindowMirror* QtBridge::find(const Window& window) const {
    for (const auto& e : _entries)
        if (e->window == &window && (!e->owned || !e->weak.expired())) return e->mirror.get();
    return nullptr;
}

QtWindowMirror* QtBridge::findTopLevel(const QWidget* topLevel) const {
    for (const auto& e : _entries)
        if (e->mirror->topLevel() == topLevel && (!e->owned || !e->weak.expired())) return e->mirror.get();
    return nullptr;
}

QtWindowMirror& QtBridge::mirror(Window& window) {
    if (Entry* e = entry(window)) return *e->mirror;
    QWidget* parent = nullptr;
    if (Window* sheetParent = window.sheetParent()) parent = mirror(*sheetParent).topLevel();
    auto e = std::make_unique<Entry>();
    e->window = &window;
    e->weak = window.weak_from_this();
    e->owned = !e->weak.expired();
    e->mirror = std::make_unique<QtWindowMirror>(*this, window, parent);
    if (parent) e->mirror->topLevel()->setWindowModality(Qt::WindowModal);
    _entries.push_back(std::move(e));
    return *_entries.back()->mirror;
}

QWidget* QtBridge::show(Window& window) {
    QtWindowMirror& m = mirror(window);
    window.makeKeyAndOrderFront();
    sweep();
    return m.topLevel();
}

void QtBridge::forget(const Window& window) {
    _entries.erase(std::remove_if(_entries.begin(), _entries.end(), [&](auto& e) { return e->window == &window; }),
                   _entries.end());
}

void QtBridge::forgetAll() {
    // Sheets first: their top-levels are children of their parents'.
    while (!_entries.empty()) _entries.pop_back();
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtBridge::setModal(Window& window, bool modal) {
    Entry* e = entry(window);
    if (!e || e->modal == modal) return;
    e->modal = modal;
    QWidget* top = e->mirror->topLevel();
    const Qt::WindowModality want =
        !modal ? Qt::NonModal : (window.isSheet() ? Qt::WindowModal : Qt::ApplicationModal);
    if (top->windowModality() == want) return;
    const bool visible = top->isVisible();
    if (visible) top->hide();
    top->setWindowModality(want);
    if (visible) top->show();
}

void QtBridge::sweep() {
    if (_sweeping) return;
    _sweeping = true;
    // Windows that died take their mirrors along (sheets, children, first).
    for (std::size_t i = _entries.size(); i-- > 0;)
        if (_entries[i]->owned && _entries[i]->weak.expired()) {
            _entries[i]->mirror->topLevel()->hide();
            _entries.erase(_entries.begin() + static_cast<long>(i));
        }
    // New sheets on mirrored windows.
    for (std::size_t i = 0; i < _entries.size(); ++i)
        if (Window* sheet = _entries[i]->window->attachedSheet(); sheet && !entry(*sheet)) mirror(*sheet);
    // A session that ended leaves its window modeless.
    const Application& app = Application::shared();
    for (auto& e : _entries)
        if (e->modal && (!e->window->isVisible() || app.modalDepth() == 0)) setModal(*e->window, false);
    for (auto& e : _entries) {
        Window& w = *e->window;
        QtWindowMirror& m = *e->mirror;
        m.sync();
        QWidget* top = m.topLevel();
        if (w.isVisible() && !top->isVisible()) {
            top->show();
            top->raise();
            top->activateWindow();
            e->shownOrder = ++_showCounter;
            m.focusEditedField();
            windowShown(*top, nameOf(w));
        } else if (!w.isVisible() && top->isVisible()) {
            top->hide();
        }
    }
    _sweeping = false;
}

QWidget* QtBridge::frontWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    const Entry* best = nullptr;
    for (const auto& e : _entries)
        if (e->mirror->topLevel()->isVisible() && (!best || e->shownOrder > best->shownOrder)) best = e.get();
    return best ? best->mirror->topLevel() : nullptr;
}

void QtBridge::windowShown(QWidget& topLevel, const std::string& name) {
    if (_shown) _shown(topLevel, name);
}

void QtBridge::userActionDone() {
    sweep();
    if (_action) _action();
}

}  // namespace kz::qt
