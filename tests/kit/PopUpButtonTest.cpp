#include <gtest/gtest.h>

#include "platform/kit/PopUpButton.h"

using namespace kz;

TEST(PopUpButton, SelectsByIndexTitleTagAndRepresentedObject) {
    PopUpButton p;
    EXPECT_EQ(p.indexOfSelectedItem(), -1);
    p.addItemsWithTitles({"A4", "Letter", "Legal"});
    EXPECT_EQ(p.titleOfSelectedItem(), "A4");  // the first item shows at once
    p.itemAtIndex(1)->setRepresentedObject(Value("na-letter"));
    p.itemAtIndex(2)->setTag(14);

    EXPECT_TRUE(p.selectItemWithRepresentedObject(Value("na-letter")));
    EXPECT_EQ(p.indexOfSelectedItem(), 1);
    EXPECT_EQ(p.selectedItem()->representedObject(), Value("na-letter"));
    EXPECT_TRUE(p.selectItemWithTag(14));
    EXPECT_EQ(p.stringValue(), "Legal");
    EXPECT_FALSE(p.selectItemWithTitle("B5"));
    EXPECT_EQ(p.selectedItem(), nullptr);
    EXPECT_TRUE(p.selectItemAtIndex(0));
    EXPECT_FALSE(p.selectItemAtIndex(3));
    EXPECT_EQ(p.indexOfSelectedItem(), -1);
}

TEST(PopUpButton, TitlesStayUniqueAndSelectionFollowsItsItem) {
    PopUpButton p;
    p.addItemsWithTitles({"One", "Two", "Three"});
    p.selectItemAtIndex(2);
    p.insertItemWithTitle("Zero", 0);
    EXPECT_EQ(p.titleOfSelectedItem(), "Three");  // the item, not the index
    p.addItemWithTitle("One");                     // moves to the end
    EXPECT_EQ(p.itemTitles(), (std::vector<std::string>{"Zero", "Two", "Three", "One"}));
    p.removeItemWithTitle("Three");
    EXPECT_EQ(p.titleOfSelectedItem(), "Zero");  // falls back to the first
    p.removeAllItems();
    EXPECT_EQ(p.selectedItem(), nullptr);
}

TEST(PopUpButton, DisabledItemsNeedAutoEnablingOffAndSeparatorsAreNeverChosen) {
    PopUpButton p;
    int actions = 0;
    p.setAction({"popupButtonAction:", [&](Control&) { ++actions; }});
    p.addItemWithTitle("Auto");
    p.menu().addItem(MenuItem::separatorItem());
    p.addItemWithTitle("Tray 1");
    p.itemAtIndex(2)->setEnabled(false);

    // Auto-enabling ignores the item's own flag.
    EXPECT_TRUE(p.chooseItemAtIndex(2));
    EXPECT_EQ(actions, 1);
    p.setAutoenablesItems(false);
    p.selectItemAtIndex(0);
    EXPECT_FALSE(p.chooseItemAtIndex(2));
    EXPECT_FALSE(p.chooseItemAtIndex(1));
    EXPECT_EQ(p.indexOfSelectedItem(), 0);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(p.indexOfItemWithTitle(""), -1);  // a separator has no title to match
}

TEST(PopUpButton, AnItemMovesBetweenMenus) {
    Menu a, b;
    auto item = std::make_shared<MenuItem>("x");
    a.addItem(item);
    b.addItem(item);
    EXPECT_EQ(a.numberOfItems(), 0);
    EXPECT_EQ(item->menu(), &b);
}
