#include "engine/tabtree/TabViewItem.h"

#include <typeinfo>

#include "platform/kit/TabView.h"

namespace ComTORVALEKZ2R4_Plugin {

TabViewItem::TabViewItem(const kz::TabViewItem& tab, const std::shared_ptr<TabViewItem>& parent)
    : _titlename(tab.label()), _tabview(tab.tabView()), _parent(parent) {}

std::shared_ptr<TabViewItem> TabViewItem::setTabViewItem(const kz::TabViewItem& tab) {
    return std::make_shared<TabViewItem>(tab, nullptr);
}

std::shared_ptr<TabViewItem> TabViewItem::copy() const {
    auto row = std::make_shared<TabViewItem>();
    row->_tabview = _tabview;
    row->_myIndex = _myIndex;
    row->_titlename = _titlename;
    row->_parent = _parent;
    row->_child_main = _child_main;
    return row;
}

kz::TabView* TabViewItem::nestedTabView(const kz::View* view) {
    if (!view) return nullptr;
    kz::TabView* found = nullptr;
    for (const auto& sub : view->subviews()) {
        // Exactly the tab view class: a view that only behaves like one
        // (or wraps one) is part of the pane, not a level of the tree.
        const kz::View& candidate = *sub;
        if (typeid(candidate) != typeid(kz::TabView)) continue;
        if (sub->focusRingType() == kz::FocusRingType::None) continue;
        found = static_cast<kz::TabView*>(sub.get());
    }
    return found;
}

void TabViewItem::tabBackup() {
    _backup_tab.clear();
    _backup_index.clear();
    _backup_tab.reserve(3);
    _backup_index.reserve(3);
    for (std::shared_ptr<TabViewItem> row = shared_from_this(); row; row = row->parent()) {
        kz::TabView* tabView = row->_tabview;
        if (!tabView) continue;
        _backup_tab.push_back(tabView);
        kz::TabViewItem* front = tabView->selectedTabViewItem();
        _backup_index.push_back(front ? tabView->indexOfTabViewItem(*front) : -1);
    }
}

void TabViewItem::tabRestore() {
    // From the top down, so that each level is put back inside its parent.
    for (std::size_t i = _backup_tab.size(); i-- > 0;)
        if (_backup_index[i] >= 0) _backup_tab[i]->selectTabViewItemAtIndex(_backup_index[i]);
}

const std::vector<std::shared_ptr<TabViewItem>>& TabViewItem::children() {
    _children.clear();
    if (!_tabview) return _children;
    kz::TabViewItem* wasFront = _tabview->selectedTabViewItem();
    int frontIndex = wasFront ? _tabview->indexOfTabViewItem(*wasFront) : -1;
    tabBackup();
    selectme();
    auto restore = [&] {
        tabRestore();
        if (frontIndex >= 0) _tabview->selectTabViewItemAtIndex(frontIndex);
    };
    kz::TabViewItem* front = _tabview->selectedTabViewItem();
    kz::TabView* nested = nestedTabView(front ? front->view() : nullptr);
    if (!nested) {
        restore();
        return _children;
    }
    // The tree shows the nested tabs; the pane's own tabs would repeat it.
    nested->setTabViewType(kz::TabViewType::NoTabsNoBorder);
    std::vector<std::shared_ptr<TabViewItem>> rows;
    auto self = shared_from_this();
    for (const auto& tab : nested->tabViewItems()) {
        auto row = std::make_shared<TabViewItem>(*tab, self);
        const kz::Value& identifier = tab->identifier();
        std::string id = identifier.isString() ? identifier.string() : std::string();
        if (id == kParentMain) {
            row->setHidden(true);
            _child_main = row;
            rows.push_back(row);
        } else if (id == kTabNotSupport) {
            // Its inner tabs are listed in its place, as leaves that each
            // bring the outer tab and one inner tab to the front.
            int n = row->numberOfChildren();
            for (int k = 1; k <= n; ++k) {
                auto leaf = row->copy();
                leaf->setIndex(k);
                if (auto inner = row->childAtIndex(k - 1)) leaf->setSubTitleName(inner->titleName());
                leaf->setLeafNode(true);
                rows.push_back(leaf);
            }
        } else {
            rows.push_back(row);
        }
    }
    _children = std::move(rows);
    restore();
    return _children;
}

int TabViewItem::numberOfChildren() {
    const auto& rows = children();
    if (_isLeafNode || rows.empty()) return -1;
    int shown = 0;
    for (const auto& row : rows)
        if (!row->isHidden()) ++shown;
    return shown;
}

std::shared_ptr<TabViewItem> TabViewItem::childAtIndex(int index) const {
    if (index < 0) return nullptr;
    auto at = [&](std::size_t i) { return i < _children.size() ? _children[i] : nullptr; };
    // One hidden row among those before it moves the index on by one.
    for (std::size_t i = 0; i <= static_cast<std::size_t>(index) && i < _children.size(); ++i)
        if (_children[i]->isHidden()) return at(static_cast<std::size_t>(index) + 1);
    return at(static_cast<std::size_t>(index));
}

void TabViewItem::selectme() {
    if (auto up = parent()) up->selectme();
    if (!_tabview) return;
    for (const auto& tab : _tabview->tabViewItems())
        if (tab->label() == _titlename) {
            _tabview->selectTabViewItem(tab.get());
            break;
        }
    if (_myIndex > 0 && static_cast<std::size_t>(_myIndex) <= _children.size())
        if (kz::TabView* inner = _children[static_cast<std::size_t>(_myIndex) - 1]->tabview())
            inner->selectTabViewItemAtIndex(_myIndex - 1);
}

}  // namespace ComTORVALEKZ2R4_Plugin
