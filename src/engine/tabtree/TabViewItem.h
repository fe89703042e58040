#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {
class TabView;
class TabViewItem;
class View;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// One row of the tab tree: a tab of a live tab view (a pane, or a tab of a
// tab view nested inside a pane). Nothing is stored about the tabs beyond
// what finds them again; the rows below are read from the tab views each
// time they are asked for, and asking leaves the tabs as they were.
class KZ_EXPORT TabViewItem : public std::enable_shared_from_this<TabViewItem> {
public:
    TabViewItem() = default;
    // A row for a tab: titled with its label, in the tab view that holds
    // it, below `parent` (none for a top row).
    TabViewItem(const kz::TabViewItem& tab, const std::shared_ptr<TabViewItem>& parent);

    // A top row for a tab of the window's top tab view.
    static std::shared_ptr<TabViewItem> setTabViewItem(const kz::TabViewItem& tab);

    // The tab view, the position, the title, the parent and the main child;
    // not the children.
    std::shared_ptr<TabViewItem> copy() const;

    const std::string& titleName() const { return _titlename; }
    void setTitleName(const std::string& title) { _titlename = title; }
    const std::string& subTitleName() const { return _subtitlename; }
    void setSubTitleName(const std::string& subtitle) { _subtitlename = subtitle; }
    kz::TabView* tabview() const { return _tabview; }
    void setTabView(kz::TabView* tabView) { _tabview = tabView; }
    std::shared_ptr<TabViewItem> parent() const { return _parent.lock(); }
    void setParent(const std::shared_ptr<TabViewItem>& parent) { _parent = parent; }
    const std::shared_ptr<TabViewItem>& child_main() const { return _child_main; }
    void setChild_main(std::shared_ptr<TabViewItem> child) { _child_main = std::move(child); }
    int index() const { return _myIndex; }
    void setIndex(int index) { _myIndex = index; }
    bool isHidden() const { return _isHidden; }
    void setHidden(bool hidden) { _isHidden = hidden; }
    bool isLeafNode() const { return _isLeafNode; }
    void setLeafNode(bool leaf) { _isLeafNode = leaf; }
    void setChildren(std::vector<std::shared_ptr<TabViewItem>> children) { _children = std::move(children); }
    // The rows computed last; empty before the first `children`.
    const std::vector<std::shared_ptr<TabViewItem>>& knownChildren() const { return _children; }

    // Reads the rows below this one from the tab view nested in this row's
    // tab (none when the tab holds none). The tabs in front stay in front.
    const std::vector<std::shared_ptr<TabViewItem>>& children();
    // -1 for a leaf or a row without children, else the rows shown.
    int numberOfChildren();
    // The shown row at the index (a hidden row is passed over).
    std::shared_ptr<TabViewItem> childAtIndex(int index) const;

    // Brings this row's tab, and every tab above it, to the front.
    void selectme();
    void tabBackup();
    void tabRestore();

    // The tab view a tab tree descends into from a view: among its direct
    // subviews, the last one that is exactly a tab view (a subclass does not
    // count) and does not draw its focus ring as "none".
    static kz::TabView* nestedTabView(const kz::View* view);

    // The identifiers that mark a nested tab.
    static constexpr const char* kParentMain = "parent_main";
    static constexpr const char* kTabNotSupport = "TabNotSupport";

private:
    std::string _titlename, _subtitlename;
    kz::TabView* _tabview = nullptr;
    int _myIndex = 0;
    bool _isHidden = false;
    bool _isLeafNode = false;
    std::weak_ptr<TabViewItem> _parent;
    std::shared_ptr<TabViewItem> _child_main;
    std::vector<std::shared_ptr<TabViewItem>> _children;
    std::vector<kz::TabView*> _backup_tab;
    std::vector<int> _backup_index;
};

}  // namespace ComTORVALEKZ2R4_Plugin
