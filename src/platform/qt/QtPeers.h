#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/kit/Event.h"

class QObject;
class QWidget;
class QComboBox;
class QLineEdit;
class QLabel;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;
class QKeyEvent;
class QString;

namespace kz {
class Button;
class DatePicker;
class Matrix;
class PopUpButton;
class Slider;
class Stepper;
class TabView;
class TableView;
class TextField;
class View;
}  // namespace kz

namespace kz::qt {

class QtWindowMirror;

// One Qt widget mirroring one kit view. The kit view is the model: the peer
// reads it on every change, and turns what the user does to the widget into
// the kit's own user action (the entry a scripted driver uses), then reads
// the view again, since the kit (its rules, formatters, delegates) may have
// refused or changed what the user asked for.
class QtViewPeer {
public:
    QtViewPeer(QtWindowMirror& mirror, View& view, QWidget* widget);
    virtual ~QtViewPeer();
    QtViewPeer(const QtViewPeer&) = delete;
    QtViewPeer& operator=(const QtViewPeer&) = delete;

    View& view() const { return _view; }
    QWidget* widget() const { return _widget; }
    // Where the widgets of subviews go.
    virtual QWidget* container() const { return _widget; }
    // Reads the view again: everything for an empty property, else what changed.
    void update(std::string_view property);
    // Places the widget after its frame (in its superview's flipped coordinates).
    virtual void placeWidget();

protected:
    // What the class adds to the common properties (frame, hidden, tooltip,
    // enabled, font).
    virtual void sync(std::string_view /*property*/) {}
    // Runs a user action on the kit with the event as the current one, reads
    // the view again and tells the mirror (a driver waits for it).
    void userAction(const std::function<void()>& action, Event event = Event::mouseDown({}));

    QtWindowMirror& _mirror;
    View& _view;
    QWidget* _widget;  // owned by its Qt parent
    // The receiver of every connection: dying with the peer, it cuts them
    // even while the widget waits for its deferred deletion.
    std::unique_ptr<QObject> _context;
    std::shared_ptr<bool> _alive = std::make_shared<bool>(true);
};

class QtPlainPeer : public QtViewPeer {
public:
    QtPlainPeer(QtWindowMirror& mirror, View& view, QWidget* parent);
};

// Push buttons, check boxes (switches) and radio buttons.
class QtButtonPeer : public QtViewPeer {
public:
    QtButtonPeer(QtWindowMirror& mirror, Button& button, QWidget* parent);

protected:
    void sync(std::string_view property) override;

private:
    Button& _button;
};

class QtPopUpPeer : public QtViewPeer {
public:
    QtPopUpPeer(QtWindowMirror& mirror, PopUpButton& popup, QWidget* parent);

protected:
    void sync(std::string_view property) override;

private:
    void fillItems();
    void showSelection();
    PopUpButton& _popup;
    QComboBox* _combo;
};

// A grid of button cells, one Qt button per cell.
class QtMatrixPeer : public QtViewPeer {
public:
    QtMatrixPeer(QtWindowMirror& mirror, Matrix& matrix, QWidget* parent);

protected:
    void sync(std::string_view property) override;

private:
    void rebuild();
    void showCells();
    Matrix& _matrix;
    std::vector<QWidget*> _cells;  // row major
};

class QtSliderPeer : public QtViewPeer {
public:
    // Qt sliders count in integers: kit values times this.
    static constexpr double kScale = 100;
    QtSliderPeer(QtWindowMirror& mirror, Slider& slider, QWidget* parent);

protected:
    void sync(std::string_view property) override;

private:
    Slider& _slider;
};

// Two arrows; the value they step is shown by the field beside them, so the
// widget only keeps it as properties ("value", "minimum", "maximum").
class QtStepperPeer : public QtViewPeer {
public:
    QtStepperPeer(QtWindowMirror& mirror, Stepper& stepper, QWidget* parent);

protected:
    void sync(std::string_view property) override;

private:
    Stepper& _stepper;
};

class QtDatePickerPeer : public QtViewPeer {
public:
    QtDatePickerPeer(QtWindowMirror& mirror, DatePicker& picker, QWidget* parent);

protected:
    void sync(std::string_view property) override;

private:
    DatePicker& _picker;
};

// An editable field is a line edit whose every keystroke goes through the
// kit's field editor (so formatters and delegates decide what is typed); a
// read-only one is a label.
class QtTextFieldPeer : public QtViewPeer {
public:
    QtTextFieldPeer(QtWindowMirror& mirror, TextField& field, QWidget* parent);
    TextField& field() const { return _field; }

    // From the line edit: a key, committed input-method text, the focus.
    bool key(QKeyEvent& event);
    void commitText(const QString& text);
    void focusIn();
    // Qt moved the cursor or the selection.
    void selectionMoved();
    // The kit field's text and selection as the editor has them now.
    void showEditorText();

protected:
    void sync(std::string_view property) override;

private:
    // The edit as the user asked for it: replaces the UTF-16 range.
    void replace(int from, int length, const QString& text);
    bool beginEditing();
    void selectionToEditor();
    TextField& _field;
    QLineEdit* _edit = nullptr;
    QLabel* _label = nullptr;
};

class QtBoxPeer : public QtViewPeer {
public:
    QtBoxPeer(QtWindowMirror& mirror, View& box, QWidget* parent);

protected:
    void sync(std::string_view property) override;
};

class QtImageViewPeer : public QtViewPeer {
public:
    QtImageViewPeer(QtWindowMirror& mirror, View& imageView, QWidget* parent);

protected:
    void sync(std::string_view property) override;
};

// Tabs above the front item's view; a tabless type hides the bar.
class QtTabViewPeer : public QtViewPeer {
public:
    QtTabViewPeer(QtWindowMirror& mirror, TabView& tabView, QWidget* parent);

protected:
    void sync(std::string_view property) override;

private:
    TabView& _tabView;
    QTabBar* _bar;
};

class QtScrollViewPeer : public QtViewPeer {
public:
    QtScrollViewPeer(QtWindowMirror& mirror, View& scrollView, QWidget* parent);
};

// Tables and outlines: rows from the kit's data source (through its prepared
// cells), the selection the kit keeps; a click is the kit's row click and
// the disclosure triangles expand and collapse the kit's items.
class QtTablePeer : public QtViewPeer {
public:
    QtTablePeer(QtWindowMirror& mirror, TableView& table, QWidget* parent);
    void placeWidget() override;

protected:
    void sync(std::string_view property) override;

private:
    void rebuild();
    void showSelection();
    TableView& _table;
    QTreeWidget* _tree;
    std::vector<QTreeWidgetItem*> _rows;
    bool _rebuilding = false;
    bool _rebuildQueued = false;
    bool _inTreeSignal = false;
};

}  // namespace kz::qt
