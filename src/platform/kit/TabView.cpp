#include "platform/kit/TabView.h"

#include "platform/kit/ViewClassOf.h"

#include <algorithm>

namespace kz {

void TabViewItem::setLabel(std::string label) {
    _label = std::move(label);
}

void TabViewItem::setView(std::shared_ptr<View> view) {
    View* old = _view.get();
    _view = std::move(view);
    if (_tabView) _tabView->itemViewChanged(*this, old);
}

void TabView::setTabViewType(TabViewType type) {
    if (type == _type) return;
    _type = type;
    changed("tabViewType");
}

TabViewItem* TabView::tabViewItemAtIndex(int index) const {
    if (index < 0 || index >= numberOfTabViewItems()) return nullptr;
    return _items[static_cast<std::size_t>(index)].get();
}

int TabView::indexOfTabViewItem(const TabViewItem& item) const {
    for (std::size_t i = 0; i < _items.size(); ++i)
        if (_items[i].get() == &item) return static_cast<int>(i);
    return -1;
}

int TabView::indexOfTabViewItemWithIdentifier(const Value& identifier) const {
    for (std::size_t i = 0; i < _items.size(); ++i)
        if (_items[i]->identifier() == identifier) return static_cast<int>(i);
    return -1;
}

void TabView::addTabViewItem(std::shared_ptr<TabViewItem> item) { insertTabViewItem(std::move(item), numberOfTabViewItems()); }

void TabView::insertTabViewItem(std::shared_ptr<TabViewItem> item, int index) {
    if (!item) return;
    if (item->_tabView) item->_tabView->removeTabViewItem(*item);
    item->_tabView = this;
    index = std::clamp(index, 0, numberOfTabViewItems());
    _items.insert(_items.begin() + index, item);
    changed("tabViewItems");
    if (!_selected) select(item.get(), false);
}

void TabView::removeTabViewItem(const TabViewItem& item) {
    int index = indexOfTabViewItem(item);
    if (index < 0) return;
    auto keep = _items[static_cast<std::size_t>(index)];
    if (keep->view() && keep->view()->superview() == this) keep->view()->removeFromSuperview();
    _items.erase(_items.begin() + index);
    keep->_tabView = nullptr;
    if (_selected == keep.get()) {
        _selected = nullptr;
        // Not the user's choice: the delegate is not asked.
        if (!_items.empty()) select(tabViewItemAtIndex(std::min(index, numberOfTabViewItems() - 1)), false);
    }
    changed("tabViewItems");
}

bool TabView::selectTabViewItemAtIndex(int index) { return selectTabViewItem(tabViewItemAtIndex(index)); }

bool TabView::selectTabViewItemWithIdentifier(const Value& identifier) {
    return selectTabViewItemAtIndex(indexOfTabViewItemWithIdentifier(identifier));
}

bool TabView::selectTabViewItem(TabViewItem* item) { return select(item, true); }

bool TabView::select(TabViewItem* item, bool askDelegate) {
    if (!item || item->_tabView != this) return false;
    if (item == _selected) return true;
    if (askDelegate && _delegate && !_delegate->tabViewShouldSelectTabViewItem(*this, *item)) return false;
    if (_selected && _selected->view() && _selected->view()->superview() == this) _selected->view()->removeFromSuperview();
    _selected = item;
    if (item->_view) addSubview(item->_view);
    changed("selectedTabViewItem");
    if (_delegate) _delegate->tabViewDidSelectTabViewItem(*this, *item);
    return true;
}

void TabView::itemViewChanged(TabViewItem& item, View* old) {
    if (&item != _selected) return;
    if (old && old->superview() == this) old->removeFromSuperview();
    if (item._view) addSubview(item._view);
}

namespace {

void loadTabItems(TabView& t, const Value& items, ViewLoading& l) {
    if (!items.isArray()) l.failHere("tabItems must be a list");
    int i = 0;
    for (const Value& iv : items.array()) {
        const Dictionary& item = iv.dictionary();
        auto ti = std::make_shared<TabViewItem>(item.contains("identifier") ? item.get("identifier") : Value(i));
        ti->setLabel(item.get("label").stringValue());
        Value viewDesc = item.contains("view") ? item.get("view") : Value(Dictionary{});
        ti->setView(l.build(viewDesc, "/tab" + std::to_string(i++)));
        t.addTabViewItem(ti);
    }
}

}  // namespace

const ViewClass& TabView::described() {
    static const ViewClass c =
        ViewClassOf<TabView>("TabView", &View::described())
            .setter("tabViewType", PropertyType::Integer,
                    [](TabView& t, const Value& ty) { t.setTabViewType(static_cast<TabViewType>(std::clamp(ty.intValue(), 0, 6))); })
            .setter("tabItems", PropertyType::Any, loadTabItems)
            .setter("selectedIndex", PropertyType::Integer, [](TabView& t, const Value& s) { t.selectTabViewItemAtIndex(s.intValue()); })
            .property("selectedTab",
                      [](const TabView& t) { return Value(t.selectedTabViewItem() ? t.selectedTabViewItem()->label() : ""); })
            .property("tabs",
                      [](const TabView& t) {
                          Array labels;
                          for (const auto& item : t.tabViewItems()) labels.push_back(Value(item->label()));
                          return Value(std::move(labels));
                      })
            .shows("selected", "selectedTab", DumpShape::Text)
            .shows("tabs", "tabs", DumpShape::Entries)
            .done();
    return c;
}

std::vector<View*> TabView::viewsOfAllTabs() const {
    std::vector<View*> out;
    for (const auto& item : _items)
        if (item->view()) out.push_back(item->view());
    for (View* sub : View::viewsOfAllTabs())
        if (std::find(out.begin(), out.end(), sub) == out.end()) out.push_back(sub);
    return out;
}

std::pair<TabView*, TabViewItem*> TabView::outermostTabHolding(const View& root, const View& view) {
    std::pair<TabView*, TabViewItem*> found{nullptr, nullptr};
    const auto holds = [&](TabView& tabs) {
        for (const auto& item : tabs.tabViewItems())
            if (item->view() && view.isDescendantOf(*item->view())) {
                found = {&tabs, item.get()};
                return true;
            }
        return false;
    };
    // Depth first from the root: an outer tab view comes before the ones in its tabs.
    if (auto* tabs = dynamic_cast<TabView*>(const_cast<View*>(&root)); tabs && holds(*tabs)) return found;
    root.forEachDescendant(
        [&](View& v) {
            auto* tabs = dynamic_cast<TabView*>(&v);
            return tabs && holds(*tabs) ? Walk::Stop : Walk::Continue;
        },
        WalkScope::AllTabs);
    return found;
}

}  // namespace kz
