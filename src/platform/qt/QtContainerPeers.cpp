// The peers of views that hold or list others: boxes, image views, tab
// views, scroll views, tables and outlines.
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>

#include "platform/kit/Box.h"
#include "platform/kit/BrowserCell.h"
#include "platform/kit/ButtonCell.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/ScrollView.h"
#include "platform/kit/TabView.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

// ---- boxes

QtBoxPeer::QtBoxPeer(QtWindowMirror& mirror, View& box, QWidget* parent) : QtViewPeer(mirror, box, new QGroupBox(parent)) {
    _widget->setProperty("kzKind", "box");
}

void QtBoxPeer::sync(std::string_view) {
    static_cast<QGroupBox*>(_widget)->setTitle(toQString(static_cast<Box&>(_view).title()));
}

// ---- image views

QtImageViewPeer::QtImageViewPeer(QtWindowMirror& mirror, View& imageView, QWidget* parent)
    : QtViewPeer(mirror, imageView, new QLabel(parent)) {
    _widget->setProperty("kzKind", "image");
    static_cast<QLabel*>(_widget)->setAlignment(Qt::AlignCenter);
}

void QtImageViewPeer::sync(std::string_view) {
    auto* label = static_cast<QLabel*>(_widget);
    const auto& image = static_cast<ImageView&>(_view).image();
    if (!image) {
        label->clear();
        label->setProperty("kzImageName", QVariant());
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(toQImage(*image));
    // Bigger than the view: scaled down to fit, as the kit's view draws it.
    if (pixmap.width() > label->width() || pixmap.height() > label->height())
        pixmap = pixmap.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    label->setPixmap(pixmap);
    label->setProperty("kzImageName", toQString(image->name()));
    label->setProperty("kzImageSize", QSize(static_cast<int>(std::lround(image->size().width)),
                                            static_cast<int>(std::lround(image->size().height))));
}

// ---- tab views

QtTabViewPeer::QtTabViewPeer(QtWindowMirror& mirror, TabView& tabView, QWidget* parent)
    : QtViewPeer(mirror, tabView, new QFrame(parent)), _tabView(tabView), _bar(new QTabBar(_widget)) {
    _widget->setProperty("kzKind", "tabs");
    _bar->setFocusPolicy(Qt::TabFocus);
    _bar->setDrawBase(false);
    QObject::connect(_bar, &QTabBar::currentChanged, _context.get(), [this](int index) {
        userAction([this, index] { _tabView.selectTabViewItemAtIndex(index); });
    });
}

void QtTabViewPeer::sync(std::string_view) {
    const QSignalBlocker block(_bar);
    while (_bar->count() > _tabView.numberOfTabViewItems()) _bar->removeTab(_bar->count() - 1);
    for (int i = 0; i < _tabView.numberOfTabViewItems(); ++i) {
        const QString label = toQString(_tabView.tabViewItemAtIndex(i)->label());
        if (i < _bar->count()) _bar->setTabText(i, label);
        else _bar->addTab(label);
    }
    const TabViewType type = _tabView.tabViewType();
    const bool tabs = type == TabViewType::TopTabsBezelBorder || type == TabViewType::LeftTabsBezelBorder ||
                      type == TabViewType::BottomTabsBezelBorder || type == TabViewType::RightTabsBezelBorder;
    _bar->setVisible(tabs);
    auto* frame = static_cast<QFrame*>(_widget);
    frame->setFrameStyle(type == TabViewType::NoTabsNoBorder ? QFrame::NoFrame
                         : type == TabViewType::NoTabsLineBorder ? QFrame::Box
                                                                  : (QFrame::StyledPanel | QFrame::Raised));
    // The bar sits centred on the top edge, above the front item's view.
    const QSize hint = _bar->sizeHint();
    _bar->setGeometry(std::max(0, (_widget->width() - hint.width()) / 2), 0, std::min(hint.width(), _widget->width()),
                      hint.height());
    _bar->raise();
    const TabViewItem* selected = _tabView.selectedTabViewItem();
    _bar->setCurrentIndex(selected ? _tabView.indexOfTabViewItem(*selected) : -1);
}

// ---- scroll views

QtScrollViewPeer::QtScrollViewPeer(QtWindowMirror& mirror, View& scrollView, QWidget* parent)
    : QtViewPeer(mirror, scrollView, new QFrame(parent)) {
    _widget->setProperty("kzKind", "view");
    static_cast<QFrame*>(_widget)->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

// ---- tables and outlines

QtTablePeer::QtTablePeer(QtWindowMirror& mirror, TableView& table, QWidget* parent)
    : QtViewPeer(mirror, table, new QTreeWidget(parent)), _table(table), _tree(static_cast<QTreeWidget*>(_widget)) {
    _widget->setProperty("kzKind", "table");
    _tree->setHeaderHidden(true);
    _tree->header()->setStretchLastSection(false);
    _tree->setRootIsDecorated(dynamic_cast<OutlineView*>(&table) != nullptr);
    _tree->setItemsExpandable(true);
    // The kit keeps the selection; Qt only shows it.
    _tree->setSelectionMode(QAbstractItemView::NoSelection);
    _tree->setFocusPolicy(Qt::TabFocus);
    QObject::connect(_tree, &QTreeWidget::itemPressed, _context.get(), [this](QTreeWidgetItem* item, int) {
        const auto it = std::find(_rows.begin(), _rows.end(), item);
        if (it == _rows.end()) return;
        const int row = static_cast<int>(it - _rows.begin());
        userAction([this, row] { _table.clickRow(row); });
    });
    auto expand = [this](QTreeWidgetItem* item, bool open) {
        auto* outline = dynamic_cast<OutlineView*>(&_table);
        const auto it = std::find(_rows.begin(), _rows.end(), item);
        if (!outline || it == _rows.end() || _rebuilding) return;
        OutlineItem kit = outline->itemAtRow(static_cast<int>(it - _rows.begin()));
        // Rows come and go: rebuilt once Qt has finished with this signal.
        _inTreeSignal = true;
        userAction([outline, kit, open] { open ? outline->expandItem(kit) : outline->collapseItem(kit); });
        _inTreeSignal = false;
    };
    QObject::connect(_tree, &QTreeWidget::itemExpanded, _context.get(), [expand](QTreeWidgetItem* i) { expand(i, true); });
    QObject::connect(_tree, &QTreeWidget::itemCollapsed, _context.get(), [expand](QTreeWidgetItem* i) { expand(i, false); });
}

void QtTablePeer::placeWidget() {
    // A table larger than its clip view fills it and scrolls itself; a
    // smaller one keeps its frame there.
    View* sup = _view.superview();
    const Size size = _view.frame().size;
    if (sup && dynamic_cast<ClipView*>(sup) &&
        (size.width > sup->frame().size.width || size.height > sup->frame().size.height))
        _widget->setGeometry(QRect(0, 0, static_cast<int>(sup->frame().size.width), static_cast<int>(sup->frame().size.height)));
    else
        QtViewPeer::placeWidget();
}

void QtTablePeer::sync(std::string_view property) {
    if (property == "selection") {
        showSelection();
        return;
    }
    if (property == "frame" || property == "hidden" || property == "toolTip") return;
    // Inside one of the tree's own signals its items must stay: later.
    if (!_inTreeSignal) {
        rebuild();
        return;
    }
    if (_rebuildQueued) return;
    _rebuildQueued = true;
    std::weak_ptr<bool> alive = _alive;
    QTimer::singleShot(0, _context.get(), [this, alive] {
        if (auto a = alive.lock(); a && *a) {
            _rebuildQueued = false;
            rebuild();
        }
    });
}

void QtTablePeer::rebuild() {
    _rebuilding = true;
    const QSignalBlocker block(_tree);
    auto* outline = dynamic_cast<OutlineView*>(&_table);
    const auto& columns = _table.tableColumns();
    _tree->clear();
    _rows.clear();
    _tree->setColumnCount(static_cast<int>(std::max<std::size_t>(1, columns.size())));
    QStringList ids;
    for (const auto& c : columns) ids << toQString(c->identifier());
    _tree->setHeaderLabels(ids);
    for (std::size_t c = 0; c < columns.size(); ++c)
        _tree->setColumnWidth(static_cast<int>(c), static_cast<int>(std::lround(columns[c]->width())));
    std::vector<QTreeWidgetItem*> parents;  // by level
    for (int r = 0; r < _table.numberOfRows(); ++r) {
        const int level = outline ? outline->levelForRow(r) : 0;
        QTreeWidgetItem* item = level > 0 && static_cast<std::size_t>(level) <= parents.size()
                                    ? new QTreeWidgetItem(parents[static_cast<std::size_t>(level - 1)])
                                    : new QTreeWidgetItem(_tree);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            auto cell = _table.preparedCell(*columns[c], r);
            const int col = static_cast<int>(c);
            item->setText(col, toQString(cell->stringValue()));
            std::shared_ptr<Image> image;
            if (auto* b = dynamic_cast<BrowserCell*>(cell.get())) image = b->image();
            else if (auto* b = dynamic_cast<ButtonCell*>(cell.get())) image = _mirror.image(b->imageName());
            if (image) {
                item->setIcon(col, QIcon(QPixmap::fromImage(toQImage(*image))));
                item->setData(col, Qt::UserRole, toQString(image->name()));
            }
            if (cell->textColor() != Color::controlTextColor()) {
                const Color& k = cell->textColor();
                item->setForeground(col, QColor::fromRgbF(static_cast<float>(k.red), static_cast<float>(k.green),
                                                          static_cast<float>(k.blue), static_cast<float>(k.alpha)));
                item->setData(col, Qt::UserRole + 1, toQString(k.name));
            }
        }
        if (outline) {
            OutlineItem kit = outline->itemAtRow(r);
            const bool expandable = outline->isExpandable(kit);
            item->setChildIndicatorPolicy(expandable ? QTreeWidgetItem::ShowIndicator
                                                     : QTreeWidgetItem::DontShowIndicatorWhenChildless);
            parents.resize(static_cast<std::size_t>(level));
            parents.push_back(item);
        }
        _rows.push_back(item);
    }
    if (outline)
        for (std::size_t r = 0; r < _rows.size(); ++r)
            _rows[r]->setExpanded(outline->isItemExpanded(outline->itemAtRow(static_cast<int>(r))));
    _rebuilding = false;
    showSelection();
}

void QtTablePeer::showSelection() {
    if (static_cast<int>(_rows.size()) != _table.numberOfRows()) return;  // a rebuild is on its way
    const QSignalBlocker block(_tree);
    for (std::size_t r = 0; r < _rows.size(); ++r) _rows[r]->setSelected(_table.isRowSelected(static_cast<int>(r)));
}

}  // namespace kz::qt
