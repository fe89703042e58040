#pragma once

#include <memory>
#include <vector>

#include "platform/kit/TabViewItem.h"
#include "platform/kit/View.h"

namespace kz {

// The numbers are the ones view descriptions and the tab tree use (6: no tabs, no border).
enum class TabViewType : int {
    TopTabsBezelBorder = 0, LeftTabsBezelBorder = 1, BottomTabsBezelBorder = 2, RightTabsBezelBorder = 3,
    NoTabsBezelBorder = 4, NoTabsLineBorder = 5, NoTabsNoBorder = 6
};

class TabView;

class KZ_EXPORT TabViewDelegate {
public:
    virtual ~TabViewDelegate() = default;
    virtual bool tabViewShouldSelectTabViewItem(TabView& /*tabView*/, TabViewItem& /*item*/) { return true; }
    virtual void tabViewDidSelectTabViewItem(TabView& /*tabView*/, TabViewItem& /*item*/) {}
};

// Tabs of which one is in front; only the front tab's view is a subview.
class KZ_EXPORT TabView : public View {
public:
    explicit TabView(Rect frame = {}) : View(frame) {}
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    TabViewType tabViewType() const { return _type; }
    void setTabViewType(TabViewType type);

    const std::vector<std::shared_ptr<TabViewItem>>& tabViewItems() const { return _items; }
    int numberOfTabViewItems() const { return static_cast<int>(_items.size()); }
    TabViewItem* tabViewItemAtIndex(int index) const;
    int indexOfTabViewItem(const TabViewItem& item) const;
    int indexOfTabViewItemWithIdentifier(const Value& identifier) const;
    // The first item added comes to the front.
    void addTabViewItem(std::shared_ptr<TabViewItem> item);
    void insertTabViewItem(std::shared_ptr<TabViewItem> item, int index);
    void removeTabViewItem(const TabViewItem& item);

    TabViewItem* selectedTabViewItem() const { return _selected; }
    // By program: the delegate may refuse; false when refused or out of range.
    bool selectTabViewItemAtIndex(int index);
    bool selectTabViewItemWithIdentifier(const Value& identifier);
    bool selectTabViewItem(TabViewItem* item);

    TabViewDelegate* delegate() const { return _delegate; }
    void setDelegate(TabViewDelegate* delegate) { _delegate = delegate; }

    // The outermost tab below root (root itself included) whose view holds
    // view, with its tab view; nulls when view is in no tab.
    static std::pair<TabView*, TabViewItem*> outermostTabHolding(const View& root, const View& view);

    // An item's view was replaced.
    void itemViewChanged(TabViewItem& item, View* old);

protected:
    std::vector<View*> viewsOfAllTabs() const override;

private:
    bool select(TabViewItem* item, bool askDelegate);
    TabViewType _type = TabViewType::TopTabsBezelBorder;
    std::vector<std::shared_ptr<TabViewItem>> _items;
    TabViewItem* _selected = nullptr;
    TabViewDelegate* _delegate = nullptr;
};

}  // namespace kz
