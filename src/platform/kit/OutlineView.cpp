#include "platform/kit/OutlineView.h"

#include "platform/kit/ViewClassOf.h"

#include <algorithm>

namespace kz {

namespace {
constexpr std::size_t kMaxRows = 1'000'000;
}  // namespace

void OutlineView::childRows(const OutlineItem& parent, int level, bool expandAll, std::vector<Row>& out) {
    if (!_source || level > kMaxLevel) return;
    int n = _source->numberOfChildrenOfItem(*this, parent);
    for (int i = 0; i < n && out.size() < kMaxRows; ++i) {
        OutlineItem item = _source->child(*this, i, parent);
        bool expandable = item && _source->isItemExpandable(*this, item);
        out.push_back({item, level, expandable});
        if (!expandable) continue;
        if (expandAll && level < kMaxLevel) _expanded[item.get()] = item;
        if (_expanded.count(item.get())) childRows(item, level + 1, expandAll, out);
    }
}

std::size_t OutlineView::endOfChildren(std::size_t row) const {
    std::size_t end = row + 1;
    while (end < _rows.size() && _rows[end].level > _rows[row].level) ++end;
    return end;
}

std::vector<OutlineItem> OutlineView::selectedItems() const {
    std::vector<OutlineItem> items;
    for (int r : selectedRowIndexes()) items.push_back(itemAtRow(r));
    return items;
}

void OutlineView::rowsChanged(const std::vector<OutlineItem>& selectedBefore) {
    std::set<int> rows;
    for (auto& item : selectedBefore)
        if (int r = rowForItem(item); r >= 0) rows.insert(r);
    setRows(static_cast<int>(_rows.size()), rows);
}

void OutlineView::reloadData() {
    const std::vector<OutlineItem> selected = selectedItems();
    std::vector<Row> rows;
    childRows(nullptr, 0, false, rows);
    _rows = std::move(rows);
    // Expanded items that are no longer shown are forgotten.
    std::map<const void*, OutlineItem> shown;
    for (auto& r : _rows)
        if (auto it = _expanded.find(r.item.get()); it != _expanded.end()) shown.insert(*it);
    _expanded = std::move(shown);
    rowsChanged(selected);
}

void OutlineView::reloadItem(const OutlineItem& item, bool reloadChildren) {
    const std::vector<OutlineItem> selected = selectedItems();
    int row = rowForItem(item);
    if (!item || !reloadChildren) {
        if (!item && reloadChildren) reloadData();
        else changed("rows");
        return;
    }
    if (row < 0) return;
    auto at = static_cast<std::size_t>(row);
    _rows.erase(_rows.begin() + static_cast<long>(at + 1), _rows.begin() + static_cast<long>(endOfChildren(at)));
    _rows[at].expandable = _source && _source->isItemExpandable(*this, item);
    if (_rows[at].expandable && isItemExpanded(item)) {
        std::vector<Row> children;
        childRows(item, _rows[at].level + 1, false, children);
        _rows.insert(_rows.begin() + static_cast<long>(at + 1), children.begin(), children.end());
    } else {
        _expanded.erase(item.get());
    }
    rowsChanged(selected);
}

void OutlineView::expandItem(const OutlineItem& item, bool expandChildren) {
    const std::vector<OutlineItem> selected = selectedItems();
    if (!item) {
        if (!expandChildren) return;
        std::vector<Row> rows;
        childRows(nullptr, 0, true, rows);
        _rows = std::move(rows);
        rowsChanged(selected);
        return;
    }
    int row = rowForItem(item);
    if (row < 0 || !_rows[static_cast<std::size_t>(row)].expandable) return;
    if (isItemExpanded(item) && !expandChildren) return;
    auto at = static_cast<std::size_t>(row);
    _expanded[item.get()] = item;
    _rows.erase(_rows.begin() + static_cast<long>(at + 1), _rows.begin() + static_cast<long>(endOfChildren(at)));
    std::vector<Row> children;
    childRows(item, _rows[at].level + 1, expandChildren, children);
    _rows.insert(_rows.begin() + static_cast<long>(at + 1), children.begin(), children.end());
    rowsChanged(selected);
}

void OutlineView::collapseItem(const OutlineItem& item, bool collapseChildren) {
    const std::vector<OutlineItem> selected = selectedItems();
    if (!item) {
        if (!collapseChildren) return;
        _expanded.clear();
        _rows.erase(std::remove_if(_rows.begin(), _rows.end(), [](const Row& r) { return r.level > 0; }), _rows.end());
        rowsChanged(selected);
        return;
    }
    int row = rowForItem(item);
    if (row < 0 || !isItemExpanded(item)) return;
    auto at = static_cast<std::size_t>(row);
    std::size_t end = endOfChildren(at);
    if (collapseChildren)
        for (std::size_t i = at + 1; i < end; ++i) _expanded.erase(_rows[i].item.get());
    _expanded.erase(item.get());
    _rows.erase(_rows.begin() + static_cast<long>(at + 1), _rows.begin() + static_cast<long>(end));
    rowsChanged(selected);
}

bool OutlineView::isItemExpanded(const OutlineItem& item) const { return item && _expanded.count(item.get()); }

bool OutlineView::isExpandable(const OutlineItem& item) const {
    int row = rowForItem(item);
    return row >= 0 && _rows[static_cast<std::size_t>(row)].expandable;
}

OutlineItem OutlineView::itemAtRow(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < _rows.size() ? _rows[static_cast<std::size_t>(row)].item : nullptr;
}

int OutlineView::rowForItem(const OutlineItem& item) const {
    if (!item) return -1;
    for (std::size_t i = 0; i < _rows.size(); ++i)
        if (_rows[i].item.get() == item.get()) return static_cast<int>(i);
    return -1;
}

int OutlineView::levelForItem(const OutlineItem& item) const { return levelForRow(rowForItem(item)); }

int OutlineView::levelForRow(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < _rows.size() ? _rows[static_cast<std::size_t>(row)].level : -1;
}

OutlineItem OutlineView::parentForItem(const OutlineItem& item) const {
    int row = rowForItem(item);
    if (row < 0) return nullptr;
    int level = _rows[static_cast<std::size_t>(row)].level;
    for (int i = row - 1; i >= 0; --i)
        if (_rows[static_cast<std::size_t>(i)].level < level) return _rows[static_cast<std::size_t>(i)].item;
    return nullptr;
}

void OutlineView::setIndentationPerLevel(double points) {
    _indentation = std::max(0.0, points);
    changed("indentationPerLevel");
}

Value OutlineView::valueFromSource(TableColumn& column, int row) {
    OutlineItem item = itemAtRow(row);
    return _source && item ? _source->objectValueForTableColumn(*this, &column, item) : Value();
}

void OutlineView::willDisplay(Cell& cell, TableColumn& column, int row) {
    if (_outlineDelegate) _outlineDelegate->willDisplayCell(*this, cell, &column, itemAtRow(row));
}

bool OutlineView::selectionShouldChange() {
    return !_outlineDelegate || _outlineDelegate->selectionShouldChangeInOutlineView(*this);
}

bool OutlineView::shouldSelect(int row) { return !_outlineDelegate || _outlineDelegate->shouldSelectItem(*this, itemAtRow(row)); }

void OutlineView::selectionDidChange() {
    if (_outlineDelegate) _outlineDelegate->outlineViewSelectionDidChange(*this);
}

const ViewClass& OutlineView::described() {
    static const ViewClass c =
        ViewClassOf<OutlineView>("OutlineView", &TableView::described())
            .setter("indentationPerLevel", PropertyType::Number,
                    [](OutlineView& o, const Value& i, ViewLoading& l) { o.setIndentationPerLevel(ViewLoading::number(i, l.path())); })
            .done();
    return c;
}

}  // namespace kz
