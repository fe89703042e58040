#include "engine/tabtree/DataSource.h"

#include "engine/tabtree/TabViewItem.h"
#include "platform/kit/TabView.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {
TabViewItem* row(const kz::OutlineItem& item) { return static_cast<TabViewItem*>(item.get()); }
std::shared_ptr<TabViewItem> sharedRow(const kz::OutlineItem& item) {
    return std::static_pointer_cast<TabViewItem>(item);
}
}  // namespace

kz::TabView* DataSource::topTabView(const kz::OutlineView& outlineView) {
    const kz::View* holder = &outlineView;
    for (int i = 0; i < 3 && holder; ++i) holder = holder->superview();
    return TabViewItem::nestedTabView(holder);
}

int DataSource::rowOfTab(const kz::OutlineView& outlineView, const kz::TabViewItem& tab) {
    for (int r = 0; r < outlineView.numberOfRows(); ++r) {
        const TabViewItem* item = row(outlineView.itemAtRow(r));
        if (item && item->tabview() == tab.tabView() && item->titleName() == tab.label()) return r;
    }
    return -1;
}

int DataSource::numberOfChildrenOfItem(kz::OutlineView& outlineView, const kz::OutlineItem& item) {
    if (item) return row(item)->numberOfChildren();
    // Looked for on every question, the first one too: the outline may ask
    // before anything else has found the window's tabs.
    kz::TabView* top = topTabView(outlineView);
    return top ? top->numberOfTabViewItems() : 0;
}

kz::OutlineItem DataSource::child(kz::OutlineView& outlineView, int index, const kz::OutlineItem& item) {
    if (item) return row(item)->childAtIndex(index);
    kz::TabView* top = topTabView(outlineView);
    kz::TabViewItem* tab = top ? top->tabViewItemAtIndex(index) : nullptr;
    return tab ? TabViewItem::setTabViewItem(*tab) : nullptr;
}

bool DataSource::isItemExpandable(kz::OutlineView&, const kz::OutlineItem& item) {
    return !item || row(item)->numberOfChildren() != -1;
}

kz::Value DataSource::objectValueForTableColumn(kz::OutlineView&, kz::TableColumn*, const kz::OutlineItem& item) {
    if (!item) return kz::Value(std::string("item Unknown"));
    const TabViewItem* r = row(item);
    return kz::Value(r->subTitleName().empty() ? r->titleName() : r->subTitleName());
}

bool DataSource::shouldSelectItem(kz::OutlineView&, const kz::OutlineItem& item) {
    if (!item) return true;
    auto r = sharedRow(item);
    r->selectme();
    if (const auto& main = r->child_main()) main->selectme();
    return true;
}

}  // namespace ComTORVALEKZ2R4_Plugin
