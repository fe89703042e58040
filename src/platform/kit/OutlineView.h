#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/kit/TableView.h"

namespace kz {

class OutlineView;

// An item of an outline: whatever object the data source hands out. The
// outline keeps the items of its rows alive and tells them apart by address.
using OutlineItem = std::shared_ptr<void>;

// What an outline asks for its items; a null item is the invisible root.
class KZ_EXPORT OutlineViewDataSource {
public:
    virtual ~OutlineViewDataSource() = default;
    virtual int numberOfChildrenOfItem(OutlineView& outlineView, const OutlineItem& item) = 0;
    virtual OutlineItem child(OutlineView& outlineView, int index, const OutlineItem& item) = 0;
    virtual bool isItemExpandable(OutlineView& outlineView, const OutlineItem& item) = 0;
    virtual Value objectValueForTableColumn(OutlineView& outlineView, TableColumn* column, const OutlineItem& item) = 0;
};

class KZ_EXPORT OutlineViewDelegate {
public:
    virtual ~OutlineViewDelegate() = default;
    virtual bool selectionShouldChangeInOutlineView(OutlineView& /*outlineView*/) { return true; }
    virtual bool shouldSelectItem(OutlineView& /*outlineView*/, const OutlineItem& /*item*/) { return true; }
    virtual bool shouldEditTableColumn(OutlineView& /*outlineView*/, TableColumn* /*column*/, const OutlineItem& /*item*/) {
        return true;
    }
    virtual void outlineViewSelectionDidChange(OutlineView& /*outlineView*/) {}
    virtual void willDisplayCell(OutlineView& /*outlineView*/, Cell& /*cell*/, TableColumn* /*column*/,
                                 const OutlineItem& /*item*/) {}
};

// A table whose rows are a tree of items: the children of an expanded item
// follow it, one level deeper. Children are asked for when an item expands
// (or everything reloads) and kept until then.
class KZ_EXPORT OutlineView : public TableView {
public:
    // Expanding everything below an item stops at this depth.
    static constexpr int kMaxLevel = 64;

    explicit OutlineView(Rect frame = {}) : TableView(frame) {}
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    OutlineViewDataSource* outlineDataSource() const { return _source; }
    void setDataSource(OutlineViewDataSource* source) { _source = source; }
    OutlineViewDelegate* outlineDelegate() const { return _outlineDelegate; }
    void setDelegate(OutlineViewDelegate* delegate) { _outlineDelegate = delegate; }

    // Rebuilds every row from the root; items that are expanded again (the
    // same objects) show their children again.
    void reloadData() override;
    // Redraws the item; with children, asks for its children again.
    void reloadItem(const OutlineItem& item, bool reloadChildren = false);

    // A null item with children expands (collapses) every item.
    void expandItem(const OutlineItem& item, bool expandChildren = false);
    void collapseItem(const OutlineItem& item, bool collapseChildren = false);
    bool isItemExpanded(const OutlineItem& item) const;
    bool isExpandable(const OutlineItem& item) const;

    OutlineItem itemAtRow(int row) const;
    int rowForItem(const OutlineItem& item) const;
    int levelForItem(const OutlineItem& item) const;
    int levelForRow(int row) const;
    OutlineItem parentForItem(const OutlineItem& item) const;

    double indentationPerLevel() const { return _indentation; }
    void setIndentationPerLevel(double points);

protected:
    int rowCountFromSource() override { return static_cast<int>(_rows.size()); }
    Value valueFromSource(TableColumn& column, int row) override;
    void willDisplay(Cell& cell, TableColumn& column, int row) override;
    bool selectionShouldChange() override;
    bool shouldSelect(int row) override;
    void selectionDidChange() override;

private:
    struct Row {
        OutlineItem item;
        int level;
        bool expandable;
    };
    // The rows of the item's children (and of their expanded children).
    void childRows(const OutlineItem& parent, int level, bool expandAll, std::vector<Row>& out);
    // Index past the last row below row `row`.
    std::size_t endOfChildren(std::size_t row) const;
    // After the rows changed: the items selected before stay selected while shown.
    void rowsChanged(const std::vector<OutlineItem>& selectedBefore);
    std::vector<OutlineItem> selectedItems() const;
    std::vector<Row> _rows;
    std::map<const void*, OutlineItem> _expanded;  // holding the items keeps the addresses unique
    OutlineViewDataSource* _source = nullptr;
    OutlineViewDelegate* _outlineDelegate = nullptr;
    double _indentation = 16;
};

}  // namespace kz
