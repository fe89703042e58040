#pragma once

#include "platform/kit/OutlineView.h"

namespace kz {
class TabView;
class TabViewItem;
}

namespace ComTORVALEKZ2R4_Plugin {

// The tab tree: an outline of the window's panes and of the tabs nested in
// them, answered from the live tab views whenever the outline asks.
// Choosing a row brings its tab, and the tabs above it, to the front. The
// outline's items are TabViewItem rows.
class KZ_EXPORT DataSource : public kz::OutlineViewDataSource, public kz::OutlineViewDelegate {
public:
    int numberOfChildrenOfItem(kz::OutlineView& outlineView, const kz::OutlineItem& item) override;
    kz::OutlineItem child(kz::OutlineView& outlineView, int index, const kz::OutlineItem& item) override;
    bool isItemExpandable(kz::OutlineView& outlineView, const kz::OutlineItem& item) override;
    kz::Value objectValueForTableColumn(kz::OutlineView& outlineView, kz::TableColumn* column,
                                        const kz::OutlineItem& item) override;
    bool shouldSelectItem(kz::OutlineView& outlineView, const kz::OutlineItem& item) override;
    bool shouldEditTableColumn(kz::OutlineView&, kz::TableColumn*, const kz::OutlineItem&) override { return false; }
    bool selectionShouldChangeInOutlineView(kz::OutlineView&) override { return true; }

    // The window's top tab view: the tab view among the subviews of the
    // view three levels above the outline (outline, clip view, scroll view,
    // then the view that holds the scroll view beside the tabs).
    static kz::TabView* topTabView(const kz::OutlineView& outlineView);
    // The row standing for the tab (a row finds its tab by the tab view and
    // the label, as choosing it does); -1 when none shows it.
    static int rowOfTab(const kz::OutlineView& outlineView, const kz::TabViewItem& tab);
};

}  // namespace ComTORVALEKZ2R4_Plugin
