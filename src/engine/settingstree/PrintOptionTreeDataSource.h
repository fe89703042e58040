#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/kit/Font.h"
#include "platform/kit/Image.h"
#include "platform/kit/OutlineView.h"

namespace ComTORVALEKZ2R4_Plugin {

// The settings tree: the panes tree shown in an outline with the settings of
// one print option, each pane listing its options and the entries that
// differ from the defaults marked and opened, and first a folder of the
// panel's own options, marked alike. Items are resolved through the pane
// plug-in manager.
class KZ_EXPORT PrintOptionTreeDataSource : public kz::OutlineViewDataSource, public kz::OutlineViewDelegate {
public:
    enum class Icon { Folder, Item, Differs };
    // What one row shows: its text (none for a row without one), its icon,
    // and whether the text is drawn in gray (a pane the manager cannot name).
    struct Row {
        std::optional<std::string> text;
        Icon icon = Icon::Item;
        bool gray = false;
    };

    PrintOptionTreeDataSource();
    ~PrintOptionTreeDataSource() override;
    PrintOptionTreeDataSource(const PrintOptionTreeDataSource&) = delete;
    PrintOptionTreeDataSource& operator=(const PrintOptionTreeDataSource&) = delete;

    // Serves the outline (not owned; it must not outlive this object
    // without another data source) and builds the root from the panes tree.
    void setOutlineView(kz::OutlineView* outlineView, bool expandDependency);
    void updatePrintOption(const std::optional<kz::Dictionary>& printOption, bool finish);
    // An empty path clears the profile; none leaves it.
    void updateProfilePath(const std::optional<std::string>& path, bool finish);
    // Reloads the outline and opens exactly the items above entries that
    // differ from the defaults.
    void _finishUpdate();

    int numberOfChildrenOfItem(kz::OutlineView& outlineView, const kz::OutlineItem& item) override;
    kz::OutlineItem child(kz::OutlineView& outlineView, int index, const kz::OutlineItem& item) override;
    bool isItemExpandable(kz::OutlineView& outlineView, const kz::OutlineItem& item) override;
    kz::Value objectValueForTableColumn(kz::OutlineView& outlineView, kz::TableColumn* column,
                                        const kz::OutlineItem& item) override;
    bool shouldSelectItem(kz::OutlineView& outlineView, const kz::OutlineItem& item) override;
    void willDisplayCell(kz::OutlineView& outlineView, kz::Cell& cell, kz::TableColumn* column,
                         const kz::OutlineItem& item) override;

    // The presentation of an item of the outline.
    Row rowForItem(const kz::OutlineItem& item);
    // The tree item an outline item stands for; null for none.
    static const kz::Dictionary* treeItem(const kz::OutlineItem& item);

    const std::optional<kz::Dictionary>& treeDictionary() const { return _treeDictionary; }
    const kz::Dictionary& currentPrintOption() const { return _currentPrintOption; }
    const std::optional<kz::Dictionary>& profileDictionary() const { return _profileDictionary; }
    const std::shared_ptr<kz::Image>& iconFor(Icon icon) const;

    // The column whose texts are measured and whose cell shows the icons.
    static constexpr const char* kNameColumn = "name";
    static constexpr double kIconSize = 16;

private:
    struct Node;
    std::shared_ptr<Node> nodeOf(const kz::OutlineItem& item) const;
    // With dependency expansion each item is resolved once per refresh.
    kz::Dictionary _resolveItem(Node& node);
    kz::Dictionary resolveWithOptions(const kz::Dictionary& item);
    const std::vector<std::shared_ptr<Node>>& childrenOf(Node& node);
    // Whether the print option shown holds another value of KEY than STANDARD.
    bool differsFromDefault(const std::string& key, const kz::Dictionary& standard) const;
    kz::Dictionary panelOptionsFolder();
    bool collectDiffering(const std::shared_ptr<Node>& node, std::vector<std::shared_ptr<Node>>& open, int depth);
    void widenColumn(kz::OutlineView& outlineView, kz::TableColumn& column, const kz::OutlineItem& item,
                     const std::string& text);
    const kz::Dictionary& defaults();

    kz::OutlineView* _outlineView = nullptr;
    std::optional<kz::Dictionary> _treeDictionary;
    std::shared_ptr<Node> _root;  // the root item and the children read so far (_settingTreeCache)
    std::map<const Node*, kz::Dictionary> _itemCache;
    kz::Dictionary _currentPrintOption;
    std::optional<kz::Dictionary> _profileDictionary;
    std::optional<kz::Dictionary> _defaults;  // the manager's, read once per refresh
    bool _isExpandDependency = false;
    std::shared_ptr<kz::Image> _folderIcon, _normalItemIcon, _differWithDefaultIcon;
    std::optional<kz::Font> _characterAttributes;
    std::shared_ptr<bool> _alive = std::make_shared<bool>(true);  // for the delayed row reloads
};

}  // namespace ComTORVALEKZ2R4_Plugin
