// The peers of views and of the controls that show cells: buttons, pop-ups,
// matrices, sliders, steppers and date pickers.
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVariant>

#include <cmath>

#include "platform/kit/Application.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

namespace {

QString buttonText(const std::string& title) {
    QString s = toQString(title);
    s.replace(QChar('&'), QStringLiteral("&&"));
    return s;
}

QIcon iconFor(const QtWindowMirror& mirror, const std::string& name, QSize* size = nullptr) {
    if (name.empty()) return {};
    auto image = mirror.image(name);
    if (!image) return {};
    QPixmap pixmap = QPixmap::fromImage(toQImage(*image));
    if (size) *size = pixmap.size();
    return QIcon(pixmap);
}

void showState(QAbstractButton& b, int state) {
    const QSignalBlocker block(&b);
    if (auto* box = qobject_cast<QCheckBox*>(&b)) {
        if (state == MixedState) box->setTristate(true);
        box->setCheckState(state == MixedState ? Qt::PartiallyChecked : state == OffState ? Qt::Unchecked : Qt::Checked);
    } else if (b.isCheckable()) {
        b.setChecked(state != OffState);
    }
}

// A Qt button for a button cell of the type.
QAbstractButton* makeButton(ButtonType type, QWidget* parent) {
    QAbstractButton* b = nullptr;
    if (type == ButtonType::Switch) {
        b = new QCheckBox(parent);
    } else if (type == ButtonType::Radio) {
        auto* r = new QRadioButton(parent);
        r->setAutoExclusive(false);  // the kit decides which one is on
        b = r;
    } else {
        auto* p = new QPushButton(parent);
        p->setAutoDefault(false);
        p->setCheckable(type == ButtonType::PushOnPushOff || type == ButtonType::Toggle || type == ButtonType::OnOff);
        b = p;
    }
    // Like the kit's buttons, a click does not take the focus from a field.
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

}  // namespace

// ---- QtViewPeer

QtViewPeer::QtViewPeer(QtWindowMirror& mirror, View& view, QWidget* widget)
    : _mirror(mirror), _view(view), _widget(widget), _context(std::make_unique<QObject>()) {
    _widget->setProperty("kzClass", toQString(view.className()));
    if (auto* c = dynamic_cast<Control*>(&view)) {
        _widget->setProperty("kzControl", true);
        _widget->setProperty("kzTag", QVariant::fromValue<qlonglong>(c->tag()));
    }
}

QtViewPeer::~QtViewPeer() { *_alive = false; }

void QtViewPeer::placeWidget() {
    const Rect& frame = _view.frame();
    if (View* sup = _view.superview()) _widget->setGeometry(QtGeometry::toQt(frame, sup->frame().size.height));
    else _widget->setGeometry(QtGeometry::toQt(Rect(0, 0, frame.size.width, frame.size.height), frame.size.height));
}

void QtViewPeer::update(std::string_view property) {
    const bool all = property.empty();
    if (all || property == "frame") placeWidget();
    if (all || property == "hidden") _widget->setVisible(!_view.isHidden());
    if (all || property == "toolTip") _widget->setToolTip(toQString(_view.toolTip()));
    if (auto* c = dynamic_cast<Control*>(&_view)) {
        if (all || property == "enabled") _widget->setEnabled(c->isEnabled());
        if (all || property == "font") _widget->setFont(toQFont(c->font()));
    }
    sync(property);
}

void QtViewPeer::userAction(const std::function<void()>& action, Event event) {
    std::shared_ptr<bool> alive = _alive;
    QtBridge& bridge = _mirror.bridge();
    {
        Application::EventScope scope(std::move(event));
        action();
    }
    // The kit may have refused or changed what the user asked for; the peer
    // itself may be gone (its view removed by the action).
    if (*alive) update("");
    bridge.userActionDone();
}

QtPlainPeer::QtPlainPeer(QtWindowMirror& mirror, View& view, QWidget* parent)
    : QtViewPeer(mirror, view, new QWidget(parent)) {
    _widget->setProperty("kzKind", "view");
}

// ---- buttons

QtButtonPeer::QtButtonPeer(QtWindowMirror& mirror, Button& button, QWidget* parent)
    : QtViewPeer(mirror, button, makeButton(button.buttonType(), parent)), _button(button) {
    _widget->setProperty("kzKind", "button");
    auto* b = static_cast<QAbstractButton*>(_widget);
    if (auto* p = qobject_cast<QPushButton*>(b); p && button.keyEquivalent() == "\r") p->setDefault(true);
    QObject::connect(b, &QAbstractButton::clicked, _context.get(), [this] {
        userAction([this] { _button.performClick(); });
    });
}

void QtButtonPeer::sync(std::string_view) {
    auto* b = static_cast<QAbstractButton*>(_widget);
    b->setText(buttonText(_button.title()));
    QSize size;
    b->setIcon(iconFor(_mirror, _button.imageName(), &size));
    if (!size.isEmpty()) b->setIconSize(size);
    if (auto* p = qobject_cast<QPushButton*>(b)) p->setFlat(!_button.isBordered());
    showState(*b, _button.state());
}

// ---- pop-up buttons

QtPopUpPeer::QtPopUpPeer(QtWindowMirror& mirror, PopUpButton& popup, QWidget* parent)
    : QtViewPeer(mirror, popup, new QComboBox(parent)), _popup(popup), _combo(static_cast<QComboBox*>(_widget)) {
    _widget->setProperty("kzKind", "popup");
    _combo->setFocusPolicy(Qt::TabFocus);
    _combo->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    QObject::connect(_combo, &QComboBox::activated, _context.get(), [this](int index) {
        userAction([this, index] { _popup.chooseItemAtIndex(index); });
    });
}

void QtPopUpPeer::sync(std::string_view property) {
    // Item changes come through the pop-up under the item's property names.
    if (property != "selectedItem" && property != "frame" && property != "hidden" && property != "toolTip")
        fillItems();
    showSelection();
}

void QtPopUpPeer::fillItems() {
    const QSignalBlocker block(_combo);
    _combo->clear();
    auto* model = qobject_cast<QStandardItemModel*>(_combo->model());
    const Menu& menu = _popup.menu();
    for (int i = 0; i < _popup.numberOfItems(); ++i) {
        const MenuItem& item = *_popup.itemAtIndex(i);
        if (item.isSeparatorItem()) {
            _combo->insertSeparator(_combo->count());
            continue;
        }
        _combo->addItem(iconFor(_mirror, item.imageName()), toQString(item.title()));
        if (model && !menu.isItemEnabled(item))
            if (QStandardItem* q = model->item(_combo->count() - 1)) q->setEnabled(false);
    }
}

void QtPopUpPeer::showSelection() {
    const QSignalBlocker block(_combo);
    _combo->setCurrentIndex(_popup.indexOfSelectedItem());
}

// ---- matrices

QtMatrixPeer::QtMatrixPeer(QtWindowMirror& mirror, Matrix& matrix, QWidget* parent)
    : QtViewPeer(mirror, matrix, new QWidget(parent)), _matrix(matrix) {
    _widget->setProperty("kzKind", "matrix");
}

void QtMatrixPeer::sync(std::string_view property) {
    if (property.empty() || property == "cells" || property == "cellSize" || _cells.size() != _matrix.cells().size())
        rebuild();
    showCells();
}

void QtMatrixPeer::rebuild() {
    for (QWidget* w : _cells) delete w;
    _cells.clear();
    const Size cell = _matrix.cellSize();
    for (int r = 0; r < _matrix.numberOfRows(); ++r)
        for (int c = 0; c < _matrix.numberOfColumns(); ++c) {
            Cell* kit = _matrix.cellAtRow(r, c);
            auto* bc = dynamic_cast<ButtonCell*>(kit);
            QAbstractButton* b = makeButton(bc ? bc->buttonType() : ButtonType::Radio, _widget);
            b->setGeometry(QRect(static_cast<int>(std::lround(c * cell.width)), static_cast<int>(std::lround(r * cell.height)),
                                 static_cast<int>(std::lround(cell.width)), static_cast<int>(std::lround(cell.height))));
            b->setProperty("kzTag", QVariant::fromValue<qlonglong>(kit ? kit->tag() : 0));
            QObject::connect(b, &QAbstractButton::clicked, _context.get(), [this, r, c] {
                userAction([this, r, c] { _matrix.clickCellAtRow(r, c); });
            });
            b->show();
            _cells.push_back(b);
        }
}

void QtMatrixPeer::showCells() {
    std::vector<Cell*> cells = _matrix.cells();
    for (std::size_t i = 0; i < cells.size() && i < _cells.size(); ++i) {
        auto* b = static_cast<QAbstractButton*>(_cells[i]);
        b->setText(buttonText(cells[i]->title()));
        b->setFont(toQFont(cells[i]->font()));
        b->setEnabled(cells[i]->isEnabled());
        b->setProperty("kzTag", QVariant::fromValue<qlonglong>(cells[i]->tag()));
        showState(*b, cells[i]->state());
    }
}

// ---- sliders

QtSliderPeer::QtSliderPeer(QtWindowMirror& mirror, Slider& slider, QWidget* parent)
    : QtViewPeer(mirror, slider,
                 new QSlider(slider.frame().size.width >= slider.frame().size.height ? Qt::Horizontal : Qt::Vertical, parent)),
      _slider(slider) {
    _widget->setProperty("kzKind", "slider");
    auto* s = static_cast<QSlider*>(_widget);
    s->setFocusPolicy(Qt::TabFocus);
    // The position the user moved to; the kit snaps it and the value follows the kit.
    QObject::connect(s, &QAbstractSlider::actionTriggered, _context.get(), [this, s](int) {
        const double value = s->sliderPosition() / kScale;
        userAction([this, value] { _slider.moveTo(value); });
    });
}

void QtSliderPeer::sync(std::string_view) {
    auto* s = static_cast<QSlider*>(_widget);
    const QSignalBlocker block(s);
    const int lo = static_cast<int>(std::lround(_slider.minValue() * kScale));
    const int hi = static_cast<int>(std::lround(_slider.maxValue() * kScale));
    s->setRange(lo, hi);
    const int ticks = _slider.numberOfTickMarks();
    if (ticks >= 2) {
        const int interval = std::max(1, static_cast<int>(std::lround(double(hi - lo) / (ticks - 1))));
        s->setTickPosition(_slider.tickMarkPosition() == TickMarkPosition::Above ? QSlider::TicksAbove : QSlider::TicksBelow);
        s->setTickInterval(interval);
        s->setSingleStep(interval);
        s->setPageStep(interval);
    } else {
        s->setTickPosition(QSlider::NoTicks);
        s->setSingleStep(std::max(1, (hi - lo) / 100));
        s->setPageStep(std::max(1, (hi - lo) / 10));
    }
    s->setValue(static_cast<int>(std::lround(_slider.doubleValue() * kScale)));
}

// ---- steppers

QtStepperPeer::QtStepperPeer(QtWindowMirror& mirror, Stepper& stepper, QWidget* parent)
    : QtViewPeer(mirror, stepper, new QWidget(parent)), _stepper(stepper) {
    _widget->setProperty("kzKind", "stepper");
    auto arrow = [this](Qt::ArrowType type, bool up) {
        auto* b = new QToolButton(_widget);
        b->setArrowType(type);
        b->setAutoRepeat(_stepper.autorepeat());
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QToolButton::clicked, _context.get(), [this, up] {
            userAction([this, up] { up ? _stepper.stepUp() : _stepper.stepDown(); });
        });
        return b;
    };
    arrow(Qt::UpArrow, true)->setObjectName("up");
    arrow(Qt::DownArrow, false)->setObjectName("down");
}

void QtStepperPeer::sync(std::string_view) {
    const int w = _widget->width(), h = _widget->height();
    if (auto* up = _widget->findChild<QToolButton*>("up")) up->setGeometry(0, 0, w, h / 2);
    if (auto* down = _widget->findChild<QToolButton*>("down")) down->setGeometry(0, h / 2, w, h - h / 2);
    _widget->setProperty("value", _stepper.doubleValue());
    _widget->setProperty("minimum", _stepper.minValue());
    _widget->setProperty("maximum", _stepper.maxValue());
}

// ---- date pickers

QtDatePickerPeer::QtDatePickerPeer(QtWindowMirror& mirror, DatePicker& picker, QWidget* parent)
    : QtViewPeer(mirror, picker, new QDateTimeEdit(parent)), _picker(picker) {
    _widget->setProperty("kzKind", "date");
    auto* e = static_cast<QDateTimeEdit*>(_widget);
    QObject::connect(e, &QDateTimeEdit::editingFinished, _context.get(), [this, e] {
        const Date date = Date::fromUnix(e->dateTime().toMSecsSinceEpoch() / 1000.0);
        if (date == _picker.dateValue()) return;
        userAction([this, date] { _picker.pick(date); });
    });
}

void QtDatePickerPeer::sync(std::string_view) {
    auto* e = static_cast<QDateTimeEdit*>(_widget);
    const QSignalBlocker block(e);
    const unsigned el = _picker.datePickerElements();
    QStringList parts;
    if ((el & YearMonthDayDatePickerElement) == YearMonthDayDatePickerElement) parts << "yyyy-MM-dd";
    else if ((el & YearMonthDatePickerElement) == YearMonthDatePickerElement) parts << "yyyy-MM";
    if ((el & HourMinuteSecondDatePickerElement) == HourMinuteSecondDatePickerElement) parts << "HH:mm:ss";
    else if ((el & HourMinuteDatePickerElement) == HourMinuteDatePickerElement) parts << "HH:mm";
    e->setDisplayFormat(parts.join(' '));
    e->setCalendarPopup(_picker.datePickerStyle() == DatePickerStyle::ClockAndCalendar);
    auto toQt = [](const Date& d) { return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(d.unixTime() * 1000))); };
    if (_picker.minDate()) e->setMinimumDateTime(toQt(*_picker.minDate()));
    else e->clearMinimumDateTime();
    if (_picker.maxDate()) e->setMaximumDateTime(toQt(*_picker.maxDate()));
    else e->clearMaximumDateTime();
    e->setDateTime(toQt(_picker.dateValue()));
}

}  // namespace kz::qt
