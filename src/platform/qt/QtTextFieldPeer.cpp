// Text fields: every keystroke of a line edit is the kit's field editor's
// replaceCharacters, so the field's own checks, its formatter and its
// delegate decide what is typed, exactly as when a script types.
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/kit/Application.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

namespace {

class KitLineEdit : public QLineEdit {
public:
    KitLineEdit(QtTextFieldPeer* peer, QWidget* parent) : QLineEdit(parent), _peer(peer) {
        // Paths around the field editor: the context menu's paste, drops.
        setContextMenuPolicy(Qt::NoContextMenu);
        setDragEnabled(false);
        setAcceptDrops(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!alive()) return QLineEdit::keyPressEvent(event);
        if (_peer->key(*event)) {
            event->accept();
            return;
        }
        // Moves and selections are Qt's; any text change (Qt's own editing
        // shortcuts) is put back: only the kit edits the text.
        const QString before = text();
        QLineEdit::keyPressEvent(event);
        if (alive()) {
            if (text() != before) _peer->showEditorText();
            else _peer->selectionMoved();
        }
    }
    void inputMethodEvent(QInputMethodEvent* event) override {
        if (alive() && !event->commitString().isEmpty()) {
            _peer->commitText(event->commitString());
            event->accept();
            return;
        }
        QLineEdit::inputMethodEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        // Only the user moves the kit's focus, not Qt giving a window's first widget the focus.
        const Qt::FocusReason r = event->reason();
        if (alive() && (r == Qt::MouseFocusReason || r == Qt::TabFocusReason || r == Qt::BacktabFocusReason ||
                        r == Qt::ShortcutFocusReason))
            _peer->focusIn();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        if (alive()) _peer->selectionMoved();
    }

public:
    // The peer's life, known once the peer is built.
    void setAlive(std::weak_ptr<bool> alive) { _alive = std::move(alive); }

private:
    bool alive() const {
        auto a = _alive.lock();
        return a && *a;
    }
    QtTextFieldPeer* _peer;
    std::weak_ptr<bool> _alive;
};

QColor toQColor(const Color& c) {
    return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue),
                            static_cast<float>(c.alpha));
}

QWidget* makeWidget(QtTextFieldPeer* peer, TextField& field, QWidget* parent) {
    if (field.isEditable()) return new KitLineEdit(peer, parent);
    return new QLabel(parent);
}

}  // namespace

QtTextFieldPeer::QtTextFieldPeer(QtWindowMirror& mirror, TextField& field, QWidget* parent)
    : QtViewPeer(mirror, field, makeWidget(this, field, parent)), _field(field) {
    _widget->setProperty("kzKind", "field");
    _edit = qobject_cast<QLineEdit*>(_widget);
    if (auto* k = dynamic_cast<KitLineEdit*>(_widget)) k->setAlive(_alive);
    _label = qobject_cast<QLabel*>(_widget);
}

void QtTextFieldPeer::sync(std::string_view) {
    QPalette palette = _widget->palette();
    // The field's colour for the active and inactive window. A disabled
    // input field shows it faded, as every other disabled control is, so a
    // field that cannot be edited looks so. A label is drawn in its own
    // colour whatever its enabled state: the kit's read-only text items are
    // disabled from the start and show their control's state by colour.
    const QColor ink = toQColor(_field.textColor());
    QColor faded = ink;
    if (_field.isEditable() || _field.isBezeled()) faded.setAlphaF(ink.alphaF() * 0.45f);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText}) {
        palette.setColor(QPalette::Active, role, ink);
        palette.setColor(QPalette::Inactive, role, ink);
        palette.setColor(QPalette::Disabled, role, faded);
    }
    if (_edit) {
        const QSignalBlocker block(_edit);
        _edit->setEchoMode(_field.isSecure() ? QLineEdit::Password : QLineEdit::Normal);
        _edit->setPlaceholderText(toQString(_field.placeholderString()));
        _edit->setFrame(_field.isBezeled() || _field.isBordered());
        if (_field.drawsBackground()) palette.setColor(QPalette::Base, toQColor(_field.backgroundColor()));
        else palette.setColor(QPalette::Base, Qt::transparent);
        _edit->setPalette(palette);
        if (_field.currentEditor()) showEditorText();
        else if (const QString t = toQString(_field.stringValue()); _edit->text() != t) _edit->setText(t);
        return;
    }
    const QString text = displayText(_field.stringValue());
    _label->setText(text);
    _label->setTextFormat(Qt::PlainText);
    const bool lines = text.contains('\n') || _field.frame().size.height >= 2.2 * _field.font().pointSize();
    _label->setWordWrap(lines);
    _label->setAlignment(Qt::AlignLeft | (lines ? Qt::AlignTop : Qt::AlignVCenter));
    _label->setTextInteractionFlags(_field.isSelectable() ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    _label->setFrameStyle(_field.isBezeled() ? (QFrame::StyledPanel | QFrame::Sunken)
                          : _field.isBordered() ? QFrame::Box
                                                : QFrame::NoFrame);
    _label->setAutoFillBackground(_field.drawsBackground() && _field.backgroundColor().alpha > 0);
    palette.setColor(QPalette::Window, toQColor(_field.backgroundColor()));
    _label->setPalette(palette);
}

bool QtTextFieldPeer::beginEditing() {
    if (_field.currentEditor()) return true;
    Window* w = _field.window();
    const bool ok = w ? w->makeFirstResponder(&_field) : _field.beginEditing();
    if (!ok || !_field.currentEditor()) {
        // Another field keeps the focus (an empty required one).
        _mirror.focusEditedField();
        return false;
    }
    return true;
}

void QtTextFieldPeer::focusIn() {
    if (_field.currentEditor()) return;
    std::shared_ptr<bool> alive = _alive;
    QtBridge& bridge = _mirror.bridge();
    if (beginEditing() && *alive) {
        selectionToEditor();
        showEditorText();
    }
    bridge.userActionDone();
}

void QtTextFieldPeer::selectionMoved() {
    if (_field.currentEditor()) selectionToEditor();
}

void QtTextFieldPeer::selectionToEditor() {
    FieldEditor* e = _field.currentEditor();
    if (!e || !_edit) return;
    // Qt counts UTF-16 units, as kit ranges do.
    if (_edit->hasSelectedText())
        e->setSelectedRange(Range{static_cast<std::size_t>(_edit->selectionStart()),
                                  static_cast<std::size_t>(_edit->selectedText().size())});
    else
        e->setSelectedRange(Range{static_cast<std::size_t>(_edit->cursorPosition()), 0});
}

void QtTextFieldPeer::showEditorText() {
    if (!_edit) return;
    const QSignalBlocker block(_edit);
    FieldEditor* e = _field.currentEditor();
    const QString text = toQString(e ? e->string() : _field.stringValue());
    if (_edit->text() != text) _edit->setText(text);
    if (!e) return;
    const Range r = e->selectedRange();
    if (r.length) _edit->setSelection(static_cast<int>(r.location), static_cast<int>(r.length));
    else _edit->setCursorPosition(static_cast<int>(r.location));
}

void QtTextFieldPeer::replace(int from, int length, const QString& text) {
    std::shared_ptr<bool> alive = _alive;
    QtBridge& bridge = _mirror.bridge();
    if (!beginEditing()) {
        QApplication::beep();
        return;
    }
    if (!*alive) return;
    FieldEditor* e = _field.currentEditor();
    const Range range{static_cast<std::size_t>(from), static_cast<std::size_t>(length)};
    e->setSelectedRange(range);
    {
        const std::string typed = fromQString(text);
        Application::EventScope scope(Event::keyDown(typed));
        e->replaceCharacters(range, typed);
    }
    if (*alive) showEditorText();
    bridge.userActionDone();
}

void QtTextFieldPeer::commitText(const QString& text) {
    if (!_edit) return;
    const int from = _edit->hasSelectedText() ? _edit->selectionStart() : _edit->cursorPosition();
    const int length = _edit->hasSelectedText() ? static_cast<int>(_edit->selectedText().size()) : 0;
    replace(from, length, text);
}

bool QtTextFieldPeer::key(QKeyEvent& event) {
    if (!_edit) return false;
    const bool selected = _edit->hasSelectedText();
    const int from = selected ? _edit->selectionStart() : _edit->cursorPosition();
    const int length = selected ? static_cast<int>(_edit->selectedText().size()) : 0;
    const QString text = _edit->text();
    if (event.matches(QKeySequence::Paste)) {
        replace(from, length, QGuiApplication::clipboard()->text());
        return true;
    }
    if (event.matches(QKeySequence::Cut)) {
        if (selected && !_field.isSecure()) QGuiApplication::clipboard()->setText(_edit->selectedText());
        if (selected) replace(from, length, QString());
        return true;
    }
    if (event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo)) return true;
    switch (event.key()) {
    case Qt::Key_Backspace:
        if (selected) replace(from, length, QString());
        else if (from > 0) {
            const int n = from >= 2 && text[from - 1].isLowSurrogate() && text[from - 2].isHighSurrogate() ? 2 : 1;
            replace(from - n, n, QString());
        }
        return true;
    case Qt::Key_Delete:
        if (selected) replace(from, length, QString());
        else if (from < text.size()) {
            const int n = from + 1 < text.size() && text[from].isHighSurrogate() && text[from + 1].isLowSurrogate() ? 2 : 1;
            replace(from, n, QString());
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        _mirror.windowKey("\r");
        return true;
    case Qt::Key_Escape:
        _mirror.windowKey("\x1b");
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        _mirror.windowKey("\t");
        return true;
    default:
        break;
    }
    const QString typed = event.text();
    if (typed.isEmpty() || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) return false;
    for (QChar c : typed)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
    replace(from, length, typed);
    return true;
}

}  // namespace kz::qt
