#include <gtest/gtest.h>

#include "platform/kit/BrowserCell.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/ScrollView.h"
#include "platform/kit/ViewDump.h"

using namespace kz;

namespace {

struct Node {
    std::string name;
    std::vector<std::shared_ptr<Node>> children;
};

std::shared_ptr<Node> node(std::string name, std::vector<std::shared_ptr<Node>> children = {}) {
    return std::make_shared<Node>(Node{std::move(name), std::move(children)});
}

struct Tree : OutlineViewDataSource, OutlineViewDelegate {
    std::shared_ptr<Node> root = node("", {node("Paper", {node("Size"), node("Tray")}), node("Finishing", {node("Staple")}), node("Copies")});
    int childQuestions = 0, selectionChanges = 0;
    bool refuse = false;
    const Node& of(const OutlineItem& item) { return item ? *static_cast<Node*>(item.get()) : *root; }
    int numberOfChildrenOfItem(OutlineView&, const OutlineItem& item) override {
        ++childQuestions;
        return static_cast<int>(of(item).children.size());
    }
    OutlineItem child(OutlineView&, int i, const OutlineItem& item) override { return of(item).children[static_cast<std::size_t>(i)]; }
    bool isItemExpandable(OutlineView&, const OutlineItem& item) override { return !of(item).children.empty(); }
    Value objectValueForTableColumn(OutlineView&, TableColumn*, const OutlineItem& item) override { return Value(of(item).name); }
    bool shouldSelectItem(OutlineView&, const OutlineItem& item) override { return !refuse && of(item).name != "Copies"; }
    void outlineViewSelectionDidChange(OutlineView&) override { ++selectionChanges; }
};

}  // namespace

TEST(OutlineView, ExpandCollapseLevelsAndSelectionFollowTheItems) {
    Tree tree;
    OutlineView outline(Rect(0, 0, 200, 100));
    outline.addTableColumn(std::make_shared<TableColumn>("name", 120));
    outline.setDataSource(&tree);
    outline.setDelegate(&tree);
    outline.reloadData();
    ASSERT_EQ(outline.numberOfRows(), 3);
    OutlineItem paper = outline.itemAtRow(0), finishing = outline.itemAtRow(1);
    EXPECT_TRUE(outline.isExpandable(paper));
    EXPECT_FALSE(outline.isExpandable(outline.itemAtRow(2)));

    outline.selectRow(1);  // Finishing
    EXPECT_EQ(tree.selectionChanges, 1);
    outline.expandItem(paper);
    EXPECT_EQ(outline.numberOfRows(), 5);
    EXPECT_EQ(outline.levelForRow(1), 1);
    EXPECT_EQ(outline.parentForItem(outline.itemAtRow(2)), paper);
    // The selected item moved down two rows and is still the one selected.
    EXPECT_EQ(outline.itemAtRow(outline.selectedRow()), finishing);
    EXPECT_EQ(tree.selectionChanges, 2);

    outline.expandItem(finishing);
    outline.collapseItem(paper);
    EXPECT_EQ(outline.numberOfRows(), 4);
    EXPECT_EQ(outline.levelForItem(finishing), 0);
    EXPECT_TRUE(outline.isItemExpanded(finishing));
    // The same items come back expanded after a reload.
    outline.reloadData();
    EXPECT_EQ(outline.numberOfRows(), 4);
    outline.collapseItem(nullptr, true);
    EXPECT_EQ(outline.numberOfRows(), 3);
    outline.expandItem(nullptr, true);
    EXPECT_EQ(outline.numberOfRows(), 6);

    // The user: a refused item keeps the selection.
    EXPECT_FALSE(outline.clickRow(5));  // Copies
    EXPECT_TRUE(outline.clickRow(1));
    EXPECT_EQ(outline.selectedRow(), 1);
    outline.collapseItem(paper);  // the selected child is hidden: nothing stays selected
    EXPECT_EQ(outline.selectedRow(), -1);
}

TEST(OutlineView, ReloadingAnItemsChildrenAndTheDump) {
    Tree tree;
    auto scroll = std::make_shared<ScrollView>(Rect(0, 0, 220, 120));
    auto outline = std::make_shared<OutlineView>(Rect(0, 0, 200, 100));
    auto column = std::make_shared<TableColumn>("name", 120);
    column->setMaxWidth(100);
    EXPECT_EQ(column->width(), 100);
    column->setWidth(300);
    EXPECT_EQ(column->width(), 100);
    column->setDataCell(std::make_unique<BrowserCell>());
    outline->addTableColumn(column);
    outline->setDataSource(&tree);
    scroll->setDocumentView(outline);
    // Layouts reach the view that holds the scroll view three levels up.
    EXPECT_EQ(outline->superview()->superview(), scroll.get());
    outline->reloadData();
    OutlineItem paper = outline->itemAtRow(0);
    outline->expandItem(paper);
    static_cast<Node*>(paper.get())->children.push_back(node("Type"));
    EXPECT_EQ(outline->numberOfRows(), 5);
    outline->reloadItem(paper, true);
    EXPECT_EQ(outline->numberOfRows(), 6);
    outline->selectRow(3);
    EXPECT_EQ(ViewDump::dump(*scroll),
              "ScrollView [0 0 220 120]\n"
              "  ClipView [0 0 220 120]\n"
              "    OutlineView [0 0 200 100] columns=[\"name\" 100] rows=6 selected=[3]\n"
              "      | - \"Paper\"\n"
              "      |     \"Size\"\n"
              "      |     \"Tray\"\n"
              "      |     \"Type\" (selected)\n"
              "      | + \"Finishing\"\n"
              "      |   \"Copies\"\n");
}
