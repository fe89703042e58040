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

#include "platform/kit/ViewDump.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

namespace {

std::string num(double d) { return ViewDump::number(d); }
std::string quoted(const QString& text) { return ViewDump::quoted(fromQString(text)); }
std::string frame(const Rect& r) { return ViewDump::frame(r); }

std::string stateName(const QAbstractButton& b) {
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

void line(std::ostringstream& out, const QWidget& w, int indent) {
    const QString kind = w.property("kzKind").toString();
    out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << fromQString(w.property("kzClass").toString()) << " "
        << frame(kitFrame(w));
    if (kind == "popup") {
        const auto& combo = static_cast<const QComboBox&>(w);
        out << " selected=" << quoted(combo.currentIndex() >= 0 ? combo.currentText() : QString()) << " items=[";
        const auto* model = qobject_cast<const QStandardItemModel*>(combo.model());
        for (int i = 0; i < combo.count(); ++i) {
            if (i) out << ", ";
            if (combo.itemData(i, Qt::AccessibleDescriptionRole).toString() == QLatin1String("separator")) {
                out << "---";
                continue;
            }
            out << quoted(combo.itemText(i));
            if (model && model->item(i) && !model->item(i)->isEnabled()) out << " (disabled)";
        }
        out << "]";
    } else if (kind == "button") {
        const auto& b = static_cast<const QAbstractButton&>(w);
        out << " title=" << quoted(buttonTitle(b));
        if (changesState(b)) out << " state=" << stateName(b);
    } else if (kind == "field") {
        if (auto* e = qobject_cast<const QLineEdit*>(&w)) {
            const QString text = e->text();
            out << " value="
                << (e->echoMode() == QLineEdit::Password ? quoted(QString(text.isEmpty() ? 0 : 8, '*')) : quoted(text));
        } else {
            out << " value=" << quoted(static_cast<const QLabel&>(w).text()) << " read-only";
        }
    } else if (kind == "matrix") {
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
        out << " selected=" << row << "," << column << " cells=[";
        bool first = true;
        for (const QAbstractButton* b : cells) {
            out << (first ? "" : ", ") << quoted(buttonTitle(*b)) << " " << stateName(*b);
            if (b->testAttribute(Qt::WA_ForceDisabled)) out << " (disabled)";
            first = false;
        }
        out << "]";
    } else if (kind == "slider") {
        const auto& s = static_cast<const QSlider&>(w);
        const double scale = QtSliderPeer::kScale;
        const int ticks = s.tickPosition() == QSlider::NoTicks || s.tickInterval() <= 0
                              ? 0
                              : (s.maximum() - s.minimum()) / s.tickInterval() + 1;
        out << " value=" << num(s.value() / scale) << " range=" << num(s.minimum() / scale) << ".."
            << num(s.maximum() / scale) << " ticks=" << ticks;
    } else if (kind == "stepper") {
        out << " value=" << num(w.property("value").toDouble()) << " range=" << num(w.property("minimum").toDouble())
            << ".." << num(w.property("maximum").toDouble());
    } else if (kind == "date") {
        out << " date=" << num(static_cast<const QDateTimeEdit&>(w).dateTime().toMSecsSinceEpoch() / 1000.0);
    } else if (kind == "tabs") {
        const QTabBar* bar = w.findChild<const QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
        out << " selected=" << quoted(bar && bar->currentIndex() >= 0 ? bar->tabText(bar->currentIndex()) : QString())
            << " tabs=[";
        for (int i = 0; bar && i < bar->count(); ++i) out << (i ? ", " : "") << quoted(bar->tabText(i));
        out << "]";
    } else if (kind == "table") {
        const auto& tree = static_cast<const QTreeWidget&>(w);
        out << " columns=[";
        const QTreeWidgetItem* header = tree.headerItem();
        for (int c = 0; c < tree.columnCount() && header && !header->text(c).isEmpty(); ++c)
            out << (c ? ", " : "") << quoted(header->text(c)) << " " << tree.columnWidth(c);
        int count = 0;
        std::string selected;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it, ++count)
            if ((*it)->isSelected()) selected += (selected.empty() ? "" : ",") + std::to_string(count);
        out << "] rows=" << count << " selected=[" << selected << "]";
    } else if (kind == "image") {
        if (QVariant name = w.property("kzImageName"); name.isValid()) {
            const QSize size = w.property("kzImageSize").toSize();
            out << " image=" << quoted(name.toString()) << " " << size.width() << "x" << size.height();
        }
    } else if (kind == "box") {
        out << " title=" << quoted(static_cast<const QGroupBox&>(w).title());
    }
    if (w.property("kzControl").toBool() && w.testAttribute(Qt::WA_ForceDisabled)) out << " disabled";
    if (w.isHidden()) out << " hidden";
    if (!w.toolTip().isEmpty()) out << " toolTip=" << quoted(w.toolTip());
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
