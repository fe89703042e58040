#include "platform/qt/QtDump.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cmath>
#include <sstream>

#include "platform/kit/Box.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TableView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/ViewClass.h"
#include "platform/kit/ViewDump.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

namespace {

std::string quoted(const QString& text) { return ViewDump::quoted(fromQString(text)); }
std::string frame(const Rect& r) { return ViewDump::frame(r); }

const char* stateName(const QAbstractButton& b) {
    if (auto* box = qobject_cast<const QCheckBox*>(&b); box && box->checkState() == Qt::PartiallyChecked) return "mixed";
    return b.isChecked() ? "on" : "off";
}

QString buttonTitle(const QAbstractButton& b) {
    QString t = b.text();
    t.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return t;
}

bool changesState(const QAbstractButton& b) { return b.isCheckable(); }

Rect kitFrame(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    return QtGeometry::fromQt(w.geometry(), parent ? parent->height() : w.height());
}

void rows(std::ostringstream& out, const QTreeWidget& tree, int indent) {
    int r = 0;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it, ++r) {
        const QTreeWidgetItem* item = *it;
        out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << "| ";
        if (tree.rootIsDecorated()) {
            int level = 0;
            for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent()) ++level;
            const bool expandable = item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
            out << std::string(static_cast<std::size_t>(level) * 2, ' ')
                << (!expandable ? "  " : item->isExpanded() ? "- " : "+ ");
        }
        for (int c = 0; c < tree.columnCount(); ++c) {
            out << (c ? " | " : "") << quoted(item->text(c));
            if (QVariant icon = item->data(c, Qt::UserRole); icon.isValid()) out << " icon=" << quoted(icon.toString());
            if (QVariant color = item->data(c, Qt::UserRole + 1); color.isValid()) out << " color=" << quoted(color.toString());
        }
        out << (item->isSelected() ? " (selected)\n" : "\n");
    }
}

// What a widget shows, under the property names of the kit class it
// mirrors, so that the kit's description writes the line.
struct Reading {
    const ViewClass* viewClass;
    Dictionary values;
};

Value entry(const QString& title, bool enabled) {
    return Value(Dictionary{{"title", Value(fromQString(title))}, {"enabled", Value(enabled)}});
}

void readPopUp(const QComboBox& combo, Dictionary& v) {
    v.set("value", Value(fromQString(combo.currentIndex() >= 0 ? combo.currentText() : QString())));
    const auto* model = qobject_cast<const QStandardItemModel*>(combo.model());
    Array items;
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemData(i, Qt::AccessibleDescriptionRole).toString() == QLatin1String("separator"))
            items.push_back(Value(Dictionary{{"separator", Value(true)}}));
        else
            items.push_back(entry(combo.itemText(i), !(model && model->item(i) && !model->item(i)->isEnabled())));
    }
    v.set("items", Value(std::move(items)));
}

void readMatrix(const QWidget& w, Dictionary& v) {
    std::vector<const QAbstractButton*> cells;
    for (QObject* o : w.children())
        if (auto* b = qobject_cast<const QAbstractButton*>(o)) cells.push_back(b);
    int row = -1, column = -1;
    for (const QAbstractButton* b : cells)
        if (b->isChecked() && b->width() > 0 && b->height() > 0) {
            row = b->y() / b->height();
            column = b->x() / b->width();
            break;
        }
    v.set("selection", Value(Array{Value(row), Value(column)}));
    Array items;
    for (const QAbstractButton* b : cells)
        items.push_back(Value(Dictionary{{"title", Value(fromQString(buttonTitle(*b)))},
                                         {"state", Value(stateName(*b))},
                                         {"enabled", Value(!b->testAttribute(Qt::WA_ForceDisabled))}}));
    v.set("items", Value(std::move(items)));
}

void readTable(const QTreeWidget& tree, Dictionary& v) {
    Array columns;
    const QTreeWidgetItem* header = tree.headerItem();
    for (int c = 0; c < tree.columnCount() && header && !header->text(c).isEmpty(); ++c)
        columns.push_back(Value(Dictionary{{"identifier", Value(fromQString(header->text(c)))}, {"width", Value(tree.columnWidth(c))}}));
    v.set("columns", Value(std::move(columns)));
    int count = 0;
    Array selected;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it, ++count)
        if ((*it)->isSelected()) selected.emplace_back(count);
    v.set("rows", Value(count));
    v.set("selectedRows", Value(std::move(selected)));
}

Value range(double min, double max) { return Value(Array{Value(min), Value(max)}); }

Reading read(const QWidget& w) {
    const QString kind = w.property("kzKind").toString();
    const bool control = w.property("kzControl").toBool();
    Reading r{control ? &Control::described() : &View::described(), {}};
    Dictionary& v = r.values;
    if (kind == "popup") {
        r.viewClass = &PopUpButton::described();
        readPopUp(static_cast<const QComboBox&>(w), v);
    } else if (kind == "button") {
        r.viewClass = &Button::described();
        const auto& b = static_cast<const QAbstractButton&>(w);
        v.set("title", Value(fromQString(buttonTitle(b))));
        if (changesState(b)) v.set("state", Value(stateName(b)));
    } else if (kind == "field") {
        r.viewClass = &TextField::described();
        if (auto* e = qobject_cast<const QLineEdit*>(&w)) {
            const QString text = e->text();
            v.set("value", Value(e->echoMode() == QLineEdit::Password ? std::string(text.isEmpty() ? 0 : 8, '*') : fromQString(text)));
        } else {
            v.set("value", Value(fromQString(static_cast<const QLabel&>(w).text())));
            v.set("editable", Value(false));
        }
    } else if (kind == "matrix") {
        r.viewClass = &Matrix::described();
        readMatrix(w, v);
    } else if (kind == "slider") {
        r.viewClass = &Slider::described();
        const auto& s = static_cast<const QSlider&>(w);
        const double scale = QtSliderPeer::kScale;
        const int ticks = s.tickPosition() == QSlider::NoTicks || s.tickInterval() <= 0
                              ? 0
                              : (s.maximum() - s.minimum()) / s.tickInterval() + 1;
        v.set("value", Value(s.value() / scale));
        v.set("range", range(s.minimum() / scale, s.maximum() / scale));
        v.set("ticks", Value(ticks));
    } else if (kind == "stepper") {
        r.viewClass = &Stepper::described();
        v.set("value", Value(w.property("value").toDouble()));
        v.set("range", range(w.property("minimum").toDouble(), w.property("maximum").toDouble()));
    } else if (kind == "date") {
        r.viewClass = &DatePicker::described();
        v.set("value", Value(static_cast<const QDateTimeEdit&>(w).dateTime().toMSecsSinceEpoch() / 1000.0));
    } else if (kind == "tabs") {
        r.viewClass = &TabView::described();
        const QTabBar* bar = w.findChild<const QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
        v.set("selectedTab", Value(fromQString(bar && bar->currentIndex() >= 0 ? bar->tabText(bar->currentIndex()) : QString())));
        Array tabs;
        for (int i = 0; bar && i < bar->count(); ++i) tabs.push_back(Value(fromQString(bar->tabText(i))));
        v.set("tabs", Value(std::move(tabs)));
    } else if (kind == "table") {
        r.viewClass = &TableView::described();
        readTable(static_cast<const QTreeWidget&>(w), v);
    } else if (kind == "image") {
        r.viewClass = &ImageView::described();
        if (QVariant name = w.property("kzImageName"); name.isValid()) {
            const QSize size = w.property("kzImageSize").toSize();
            v.set("image", Value(fromQString(name.toString())));
            v.set("imageSize", Value(Array{Value(size.width()), Value(size.height())}));
        }
    } else if (kind == "box") {
        r.viewClass = &Box::described();
        v.set("title", Value(fromQString(static_cast<const QGroupBox&>(w).title())));
    }
    v.set("enabled", Value(!(control && w.testAttribute(Qt::WA_ForceDisabled))));
    v.set("hidden", Value(w.isHidden()));
    v.set("toolTip", Value(fromQString(w.toolTip())));
    return r;
}

void line(std::ostringstream& out, const QWidget& w, int indent) {
    out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << fromQString(w.property("kzClass").toString()) << " "
        << frame(kitFrame(w));
    const Reading r = read(w);
    const std::string details = ViewDump::details(*r.viewClass, [&](std::string_view property) -> std::optional<Value> {
        if (const Value* v = r.values.find(property)) return *v;
        return std::nullopt;
    });
    if (!details.empty()) out << " " << details;
    out << "\n";
}

void tree(std::ostringstream& out, const QWidget& w, int indent) {
    line(out, w, indent);
    if (w.property("kzKind").toString() == "table") rows(out, static_cast<const QTreeWidget&>(w), indent + 1);
    for (QObject* o : w.children())
        if (auto* child = qobject_cast<const QWidget*>(o); child && child->property("kzKind").isValid())
            tree(out, *child, indent + 1);
}

}  // namespace

std::string QtDump::dump(const QWidget& viewWidget, int indent) {
    std::ostringstream out;
    tree(out, viewWidget, indent);
    return out.str();
}

std::string QtDump::dumpWindow(const QWidget& topLevel) {
    std::ostringstream out;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double screenHeight = screen ? screen->geometry().height() : 900;
    out << fromQString(topLevel.property("kzClass").toString()) << " "
        << frame(QtGeometry::fromQt(topLevel.geometry(), screenHeight)) << " title=" << quoted(topLevel.windowTitle());
    if (!topLevel.isVisible()) out << " hidden";
    out << "\n";
    for (QObject* o : topLevel.children())
        if (auto* child = qobject_cast<const QWidget*>(o); child && child->property("kzKind").isValid()) tree(out, *child, 1);
    return out.str();
}

}  // namespace kz::qt
