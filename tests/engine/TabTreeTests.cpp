// The tab tree over live tab views: a window holding the pane tree (an
// outline in a scroll view) beside a tab view of panes, some of which nest
// tab views of their own.
#include <gtest/gtest.h>

#include "engine/tabtree/DataSource.h"
#include "engine/tabtree/TabViewItem.h"
#include "platform/kit/ScrollView.h"
#include "platform/kit/TabView.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

std::shared_ptr<kz::TabViewItem> tab(const std::string& label, const std::string& identifier,
                                     std::shared_ptr<kz::View> view = std::make_shared<kz::View>()) {
    auto item = std::make_shared<kz::TabViewItem>(kz::Value(identifier));
    item->setLabel(label);
    item->setView(std::move(view));
    return item;
}

std::shared_ptr<kz::TabView> tabs(std::vector<std::shared_ptr<kz::TabViewItem>> items) {
    auto view = std::make_shared<kz::TabView>();
    for (auto& item : items) view->addTabViewItem(item);
    return view;
}

std::shared_ptr<kz::View> holding(std::shared_ptr<kz::View> sub) {
    auto view = std::make_shared<kz::View>();
    view->addSubview(std::move(sub));
    return view;
}

std::string label(const kz::TabView& t) { return t.selectedTabViewItem() ? t.selectedTabViewItem()->label() : ""; }

// Panes: "Plain" (no nested tabs), "Finishing" (tabs "Staple" and a
// "parent_main" tab "General"), "Color" (a "TabNotSupport" tab holding
// three inner tabs, beside "Profiles").
struct Window : ::testing::Test {
    std::shared_ptr<kz::View> content = std::make_shared<kz::View>();
    std::shared_ptr<kz::OutlineView> outline = std::make_shared<kz::OutlineView>();
    std::shared_ptr<kz::TabView> panes, finishing, color, inner;
    kzp::DataSource source;

    void SetUp() override {
        finishing = tabs({tab("Staple", "staple"), tab("General", kzp::TabViewItem::kParentMain)});
        inner = tabs({tab("CMYK", "cmyk"), tab("RGB", "rgb"), tab("Gray", "gray")});
        color = tabs({tab("Profiles", "profiles"), tab("Adjust", kzp::TabViewItem::kTabNotSupport, holding(inner))});
        panes = tabs({tab("Plain", "plain"), tab("Finishing", "finishing", holding(finishing)),
                      tab("Color", "color", holding(color))});
        auto scroll = std::make_shared<kz::ScrollView>();
        scroll->setDocumentView(outline);
        outline->addTableColumn(std::make_shared<kz::TableColumn>("name"));
        content->addSubview(scroll);
        content->addSubview(panes);
        outline->setDataSource(&source);
        outline->setDelegate(&source);
    }
    void TearDown() override {
        outline->setDataSource(nullptr);
        outline->setDelegate(nullptr);
    }
    std::string text(int row) { return outline->preparedCell(*outline->tableColumns()[0], row)->stringValue(); }
    int rowTitled(const std::string& title) {
        for (int r = 0; r < outline->numberOfRows(); ++r)
            if (text(r) == title) return r;
        return -1;
    }
};

}  // namespace

TEST_F(Window, TopRowsComeFromTheTabViewOnTheFirstQuestion) {
    outline->reloadData();
    ASSERT_EQ(outline->numberOfRows(), 3);
    EXPECT_EQ(text(0), "Plain");
    EXPECT_EQ(text(2), "Color");
    // A pane without a nested tab view has no disclosure triangle.
    EXPECT_FALSE(outline->isExpandable(outline->itemAtRow(0)));
    EXPECT_TRUE(outline->isExpandable(outline->itemAtRow(1)));
    EXPECT_EQ(source.objectValueForTableColumn(*outline, nullptr, nullptr).stringValue(), "item Unknown");
    EXPECT_FALSE(source.shouldEditTableColumn(*outline, nullptr, outline->itemAtRow(0)));
}

TEST_F(Window, AskingForRowsLeavesTheTabsInFrontAsTheyWere) {
    finishing->selectTabViewItemAtIndex(1);
    outline->reloadData();
    outline->expandItem(nullptr, true);
    EXPECT_EQ(label(*panes), "Plain");
    EXPECT_EQ(label(*finishing), "General");
    EXPECT_EQ(label(*color), "Profiles");
    EXPECT_EQ(label(*inner), "CMYK");
    // The tree stands in for the nested tabs.
    EXPECT_EQ(finishing->tabViewType(), kz::TabViewType::NoTabsNoBorder);
    EXPECT_EQ(panes->tabViewType(), kz::TabViewType::TopTabsBezelBorder);
}

TEST_F(Window, AParentMainTabIsHiddenAndComesToTheFrontWithItsParent) {
    outline->reloadData();
    outline->expandItem(outline->itemAtRow(1));  // Finishing
    ASSERT_EQ(outline->numberOfRows(), 4);
    EXPECT_EQ(text(2), "Staple");
    EXPECT_EQ(rowTitled("General"), -1);

    finishing->selectTabViewItemAtIndex(0);
    ASSERT_TRUE(outline->clickRow(1));
    EXPECT_EQ(label(*panes), "Finishing");
    EXPECT_EQ(label(*finishing), "General");

    ASSERT_TRUE(outline->clickRow(2));  // Staple
    EXPECT_EQ(label(*finishing), "Staple");
}

TEST_F(Window, TabNotSupportInnerTabsAreLeafRowsThatBringBothLevelsForward) {
    outline->reloadData();
    outline->expandItem(outline->itemAtRow(2));  // Color
    ASSERT_EQ(outline->numberOfRows(), 7);
    EXPECT_EQ(text(3), "Profiles");
    EXPECT_EQ(text(4), "CMYK");
    EXPECT_EQ(text(5), "RGB");
    EXPECT_EQ(text(6), "Gray");
    for (int r = 4; r <= 6; ++r) EXPECT_FALSE(outline->isExpandable(outline->itemAtRow(r))) << r;

    ASSERT_TRUE(outline->clickRow(5));  // the second inner tab
    EXPECT_EQ(label(*panes), "Color");
    EXPECT_EQ(label(*color), "Adjust");
    EXPECT_EQ(label(*inner), "RGB");
}

TEST(TabTreeSearch, OnlyAPlainTabViewWithAFocusRingCountsAndTheLastWins) {
    struct OwnTabView : kz::TabView {};
    auto view = std::make_shared<kz::View>();
    auto first = std::make_shared<kz::TabView>(), last = std::make_shared<kz::TabView>();
    auto ringless = std::make_shared<kz::TabView>();
    ringless->setFocusRingType(kz::FocusRingType::None);
    view->addSubview(first);
    view->addSubview(last);
    view->addSubview(ringless);
    view->addSubview(std::make_shared<OwnTabView>());
    view->addSubview(holding(std::make_shared<kz::TabView>()));  // not a direct subview
    EXPECT_EQ(kzp::TabViewItem::nestedTabView(view.get()), last.get());
    EXPECT_EQ(kzp::TabViewItem::nestedTabView(nullptr), nullptr);
}

TEST(TabTreeRows, ACopyKeepsItsPlaceButNotItsChildrenAndOneHiddenRowIsPassedOver) {
    auto t = tabs({tab("A", "a"), tab("B", "b")});
    auto row = kzp::TabViewItem::setTabViewItem(*t->tabViewItemAtIndex(1));
    auto child = kzp::TabViewItem::setTabViewItem(*t->tabViewItemAtIndex(0));
    row->setIndex(2);
    row->setChild_main(child);
    row->setChildren({child});
    auto copy = row->copy();
    EXPECT_EQ(copy->titleName(), "B");
    EXPECT_EQ(copy->tabview(), t.get());
    EXPECT_EQ(copy->index(), 2);
    EXPECT_EQ(copy->child_main(), child);
    EXPECT_TRUE(copy->knownChildren().empty());

    auto hidden = kzp::TabViewItem::setTabViewItem(*t->tabViewItemAtIndex(0));
    hidden->setHidden(true);
    auto shown = kzp::TabViewItem::setTabViewItem(*t->tabViewItemAtIndex(1));
    row->setChildren({hidden, shown});
    EXPECT_EQ(row->childAtIndex(0), shown);
    EXPECT_EQ(row->childAtIndex(1), nullptr);
    EXPECT_EQ(row->childAtIndex(-1), nullptr);
}
