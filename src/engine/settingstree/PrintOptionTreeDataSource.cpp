#include "engine/settingstree/PrintOptionTreeDataSource.h"

#include <algorithm>
#include <set>

#include "Common/Util/BundleUtil.h"
#include "engine/controls/ControlDescription.h"
#include "engine/controls/PanelOwnOptions.h"
#include "engine/controls/QuillUI.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/BrowserCell.h"
#include "platform/kit/TableColumn.h"
#include "platform/kit/Workspace.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr const char* kCurrentSetting = "CurrentSetting";
// The "UI" text that names the folder of the panel's own options.
constexpr const char* kPanelOptionsFolder = "PanelOptionsFolder";
// Deeper trees are not walked; the outline stops at the same depth.
constexpr int kMaxDepth = kz::OutlineView::kMaxLevel;

const std::string* text(const kz::Dictionary& d, const char* key) {
    const kz::Value* v = d.find(key);
    return v && v->isString() ? &v->string() : nullptr;
}

bool differs(const kz::Dictionary& d) {
    const kz::Value* v = d.find("differedWithDefault");
    return v && v->boolValue();
}

bool isCurrentSetting(const kz::Value& v) {
    return v.isDictionary() && text(v.dictionary(), "itemName") && *text(v.dictionary(), "itemName") == kCurrentSetting;
}

// The colour panes are single settings shown as items, not as folders.
bool isItemPane(const std::string& bundleName) {
    for (const char* end : {"ColorDetailsCommon_", "ColorDetailsRGB_", "ColorDetailsSpotColor_",
                            "TwoColorPrintingSimulation_"})
        if (bundleName.ends_with(end)) return true;
    return false;
}

std::shared_ptr<kz::Image> small(const std::shared_ptr<kz::Image>& icon) {
    return icon ? icon->drawnAtSize(static_cast<std::uint32_t>(PrintOptionTreeDataSource::kIconSize),
                                    static_cast<std::uint32_t>(PrintOptionTreeDataSource::kIconSize))
                : nullptr;
}

}  // namespace

struct PrintOptionTreeDataSource::Node {
    kz::Dictionary item;
    int depth = 0;
    std::optional<std::vector<std::shared_ptr<Node>>> children;
};

PrintOptionTreeDataSource::PrintOptionTreeDataSource() = default;

PrintOptionTreeDataSource::~PrintOptionTreeDataSource() {
    *_alive = false;
    if (_outlineView) {
        if (_outlineView->outlineDataSource() == this) _outlineView->setDataSource(nullptr);
        if (_outlineView->outlineDelegate() == this) _outlineView->setDelegate(nullptr);
    }
}

const kz::Dictionary* PrintOptionTreeDataSource::treeItem(const kz::OutlineItem& item) {
    return item ? &static_cast<const Node*>(item.get())->item : nullptr;
}

std::shared_ptr<PrintOptionTreeDataSource::Node> PrintOptionTreeDataSource::nodeOf(const kz::OutlineItem& item) const {
    return item ? std::static_pointer_cast<Node>(item) : _root;
}

void PrintOptionTreeDataSource::setOutlineView(kz::OutlineView* outlineView, bool expandDependency) {
    _outlineView = outlineView;
    _isExpandDependency = expandDependency;
    _treeDictionary.reset();
    if (const auto& tree = PanePlugInMgr::sharedInstance().panesTreeDictionary()) {
        kz::Dictionary root = *tree;
        const kz::Value* items = root.find("items");
        if (items && items->isArray() && !items->array().empty()) {
            const kz::Array& top = items->array();
            if (isCurrentSetting(top.front())) {
                kz::Dictionary current = top.front().dictionary();  // a copy: it lives inside root
                root = std::move(current);
            } else if (isCurrentSetting(top.back())) {
                kz::Array rest(top.begin(), top.end() - 1);
                root.set("items", kz::Value(std::move(rest)));
            }
        }
        _treeDictionary = std::move(root);
    }
    _root = _treeDictionary ? std::make_shared<Node>(Node{*_treeDictionary, 0, std::nullopt}) : nullptr;
    _itemCache.clear();
    if (!_outlineView) return;
    _outlineView->setDataSource(this);
    _outlineView->setDelegate(this);
    if (kz::TableColumn* column = _outlineView->tableColumnWithIdentifier(kNameColumn)) {
        auto cell = std::make_unique<kz::BrowserCell>();
        cell->setLeaf(true);
        cell->setWraps(true);
        cell->setFont(column->dataCell().font());
        _characterAttributes = cell->font();
        column->setDataCell(std::move(cell));
        kz::Workspace& workspace = kz::Workspace::shared();
        auto bundle = BSPrincipalBundle();
        _folderIcon = small(bundle ? workspace.iconForFile(bundle->resourcePath()) : workspace.iconForFileType("'fldr'"));
        _normalItemIcon = small(workspace.iconForFileType("'unfs'"));
        _differWithDefaultIcon = small(workspace.iconForFileType("'note'"));
    }
}

void PrintOptionTreeDataSource::updatePrintOption(const std::optional<kz::Dictionary>& printOption, bool finish) {
    _currentPrintOption = printOption.value_or(kz::Dictionary{});
    if (finish) _finishUpdate();
}

void PrintOptionTreeDataSource::updateProfilePath(const std::optional<std::string>& path, bool finish) {
    if (path) {
        if (path->empty()) _profileDictionary.reset();
        else _profileDictionary = AppPreference::profileDictionaryWithContentsOfFile(*path);
    }
    if (finish) _finishUpdate();
}

const kz::Dictionary& PrintOptionTreeDataSource::defaults() {
    if (!_defaults) _defaults = PanePlugInMgr::sharedInstance().defaultSettings();
    return *_defaults;
}

// A pane is one item of the panes tree; below it the tree lists the options
// of that pane, each marked when the print option shown holds a value other
// than its default. A tree that gives a pane items of its own keeps them.
kz::Dictionary PrintOptionTreeDataSource::resolveWithOptions(const kz::Dictionary& item) {
    const std::string* bundleName = text(item, "bundleName");
    if (!bundleName || item.contains("items")) return item;
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    const PlugInTableEntry* entry = mgr.entryOfBundleName(*bundleName);
    if (!entry) return item;
    auto controller = mgr.paneControllerOfBundleName(*bundleName);
    if (!controller) return item;
    std::vector<std::shared_ptr<QuillUI>> controls;
    for (const auto& control : controller->getListQuillUI()) {
        if (!control) continue;
        controls.push_back(control);
        for (const auto& child : control->childControls())
            if (child) controls.push_back(child);
    }
    kz::Array options;
    std::set<std::string> seen;
    for (const auto& control : controls) {
        const std::string& key = control->mainKeyword();
        if (key.empty() || !seen.insert(key).second) continue;
        std::optional<std::string> alias;
        mgr.getAlias(&alias, nullptr, key, std::nullopt);
        if (!alias && !control->mainKeywordText().empty()) alias = control->mainKeywordText();
        const bool changed = differsFromDefault(key, defaults());
        options.push_back(kz::Value(kz::Dictionary{{"mainAlias", kz::Value(alias.value_or(key))},
                                                   {"mainKeyword", kz::Value(key)},
                                                   {"differedWithDefault", kz::Value(changed)}}));
    }
    if (options.empty()) return item;
    kz::Dictionary resolved = item;
    resolved.set("items", kz::Value(std::move(options)));
    return resolved;
}

bool PrintOptionTreeDataSource::differsFromDefault(const std::string& key, const kz::Dictionary& standard) const {
    const kz::Value* shown = _currentPrintOption.find(key);
    if (!shown) return false;
    std::optional<std::string> value = PanePlugInMgr::_stringFromObject(*shown);
    const kz::Value* byDefault = standard.find(key);
    std::optional<std::string> standardValue =
        byDefault ? PanePlugInMgr::_stringFromObject(*byDefault) : std::optional<std::string>();
    return standardValue ? value != standardValue : value && !value->empty();
}

// The panel's own options are in no pane, so the panes tree never lists
// them; a folder of their own does, each marked as a pane's options are.
// Their defaults come from their descriptions, which the manager's lack.
kz::Dictionary PrintOptionTreeDataSource::panelOptionsFolder() {
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    kz::Dictionary descriptions;
    if (const auto& file = mgr.getUIFilePath())
        descriptions = ControlDescription::readFile(*file).value_or(kz::Dictionary{});
    kz::Dictionary standard = defaults();
    PanelOwnOptions::addDefaults(standard, descriptions);
    kz::Array options;
    for (const std::string& key : PanelOwnOptions::keys()) {
        // A product without the option (no bypass tray) has no description of it.
        const kz::Value* description = descriptions.find(key);
        if (!description || !description->isDictionary()) continue;
        std::optional<std::string> alias;
        mgr.getAlias(&alias, nullptr, key, std::nullopt);
        if (!alias)
            if (auto label = ControlDescription::nonEmptyText(description->dictionary(), "text"))
                alias = PanePlugInMgr::localizedAlertText(*label);
        options.push_back(kz::Value(kz::Dictionary{{"mainAlias", kz::Value(alias.value_or(key))},
                                                   {"mainKeyword", kz::Value(key)},
                                                   {"differedWithDefault", kz::Value(differsFromDefault(key, standard))}}));
    }
    return kz::Dictionary{{"itemName", kz::Value(PanePlugInMgr::localizedAlertText(kPanelOptionsFolder))},
                          {"items", kz::Value(std::move(options))}};
}

kz::Dictionary PrintOptionTreeDataSource::_resolveItem(Node& node) {
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    if (_isExpandDependency) {
        auto it = _itemCache.find(&node);
        if (it == _itemCache.end())
            it = _itemCache.emplace(&node, resolveWithOptions(mgr.resolveItem(node.item, true))).first;
        return it->second;
    }
    return resolveWithOptions(mgr.resolveItem(node.item));
}

const std::vector<std::shared_ptr<PrintOptionTreeDataSource::Node>>& PrintOptionTreeDataSource::childrenOf(Node& node) {
    if (node.children) return *node.children;
    std::vector<std::shared_ptr<Node>> children;
    if (&node == _root.get()) {
        kz::Dictionary folder = panelOptionsFolder();
        if (!folder.get("items").array().empty())
            children.push_back(std::make_shared<Node>(Node{std::move(folder), node.depth + 1, std::nullopt}));
    }
    if (node.depth < kMaxDepth) {
        kz::Dictionary resolved = _resolveItem(node);
        if (const kz::Value* items = resolved.find("items"); items && items->isArray())
            for (const kz::Value& child : items->array())
                if (child.isDictionary())
                    children.push_back(std::make_shared<Node>(Node{child.dictionary(), node.depth + 1, std::nullopt}));
    }
    node.children = std::move(children);
    return *node.children;
}

int PrintOptionTreeDataSource::numberOfChildrenOfItem(kz::OutlineView&, const kz::OutlineItem& item) {
    auto node = nodeOf(item);
    return node ? static_cast<int>(childrenOf(*node).size()) : 0;
}

kz::OutlineItem PrintOptionTreeDataSource::child(kz::OutlineView&, int index, const kz::OutlineItem& item) {
    auto node = nodeOf(item);
    if (!node || index < 0) return nullptr;
    const auto& children = childrenOf(*node);
    return static_cast<std::size_t>(index) < children.size() ? children[static_cast<std::size_t>(index)] : nullptr;
}

bool PrintOptionTreeDataSource::isItemExpandable(kz::OutlineView&, const kz::OutlineItem& item) {
    auto node = nodeOf(item);
    return node && !childrenOf(*node).empty();
}

PrintOptionTreeDataSource::Row PrintOptionTreeDataSource::rowForItem(const kz::OutlineItem& item) {
    Row row;
    auto node = nodeOf(item);
    if (!node || !item) return row;
    const kz::Dictionary& d = node->item;
    std::optional<kz::Dictionary> resolved;
    auto resolve = [&]() -> const kz::Dictionary& {
        if (!resolved) resolved = _resolveItem(*node);
        return *resolved;
    };
    if (const std::string* alias = text(d, "mainAlias")) {
        row.text = *alias;
        row.icon = Icon::Item;
    } else if (const std::string* name = text(d, "itemName")) {
        row.text = *name;
        row.icon = Icon::Folder;
    } else {
        const kz::Dictionary& r = d.contains("bundleName") ? d : resolve();
        if (const std::string* bundleName = text(r, "bundleName")) {
            row.icon = isItemPane(*bundleName) ? Icon::Item : Icon::Folder;
            PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
            std::optional<std::string> panel = mgr.entryOfBundleName(*bundleName)
                                                   ? mgr.panelNameOfBundleName(*bundleName)
                                                   : std::nullopt;
            if (panel) {
                row.text = *panel;
            } else {
                row.text = PanePlugInMgr::localizedAlertText(*bundleName);
                row.gray = true;
            }
        } else if (const std::string* name = text(r, "itemName")) {
            row.text = *name;
            row.icon = Icon::Folder;
        }
    }
    if (differs(d)) row.icon = Icon::Differs;
    if (!row.text) {
        const kz::Value* items = resolve().find("items");
        if (items && items->isArray() && !items->array().empty() && items->array().front().isDictionary())
            if (const std::string* plugIn = text(items->array().front().dictionary(), "plugInName");
                plugIn && plugIn->find('_') != std::string::npos) {
                std::string prefix = plugIn->substr(0, plugIn->find('_'));
                row.text = "  " + PanePlugInMgr::localizedAlertText(prefix);
            }
    }
    return row;
}

kz::Value PrintOptionTreeDataSource::objectValueForTableColumn(kz::OutlineView& outlineView, kz::TableColumn* column,
                                                               const kz::OutlineItem& item) {
    Row row = rowForItem(item);
    if (!row.text) return kz::Value();
    if (column) widenColumn(outlineView, *column, item, *row.text);
    return kz::Value(*row.text);
}

void PrintOptionTreeDataSource::widenColumn(kz::OutlineView& outlineView, kz::TableColumn& column,
                                            const kz::OutlineItem& item, const std::string& rowText) {
    int level = outlineView.levelForItem(item);
    if (level < 0) return;
    kz::Font font = _characterAttributes.value_or(column.dataCell().font());
    double needed = level * outlineView.indentationPerLevel() + font.widthOfString(rowText);
    if (needed + 20 <= column.width()) return;
    column.setMaxWidth(needed + 40);
    column.setWidth(needed + 40);
    // Drawn again once the outline has finished this pass.
    std::weak_ptr<bool> alive = _alive;
    kz::OutlineView* outline = &outlineView;
    kz::OutlineItem keep = item;
    kz::RunLoop::current().perform(
        [alive, outline, keep, this] {
            if (auto on = alive.lock(); on && *on && _outlineView == outline) outline->reloadItem(keep);
        },
        0, {kz::RunLoop::kDefaultMode, kz::RunLoop::kModalPanelMode});
}

bool PrintOptionTreeDataSource::shouldSelectItem(kz::OutlineView&, const kz::OutlineItem& item) {
    auto node = nodeOf(item);
    if (!item || !node) return true;
    const kz::Dictionary resolved = _resolveItem(*node);
    const std::string* bundleName = text(resolved, "bundleName");
    if (!bundleName) return true;
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    return mgr.entryOfBundleName(*bundleName) && mgr.panelNameOfBundleName(*bundleName);
}

void PrintOptionTreeDataSource::willDisplayCell(kz::OutlineView&, kz::Cell& cell, kz::TableColumn* column,
                                                const kz::OutlineItem& item) {
    if (!column || column->identifier() != kNameColumn) return;
    Row row = rowForItem(item);
    if (auto* browser = dynamic_cast<kz::BrowserCell*>(&cell)) browser->setImage(iconFor(row.icon));
    cell.setTextColor(row.gray ? kz::Color::disabledControlTextColor() : kz::Color::controlTextColor());
}

const std::shared_ptr<kz::Image>& PrintOptionTreeDataSource::iconFor(Icon icon) const {
    switch (icon) {
        case Icon::Folder: return _folderIcon;
        case Icon::Differs: return _differWithDefaultIcon;
        case Icon::Item: break;
    }
    return _normalItemIcon;
}

bool PrintOptionTreeDataSource::collectDiffering(const std::shared_ptr<Node>& node,
                                                 std::vector<std::shared_ptr<Node>>& open, int depth) {
    if (depth > kMaxDepth) return false;
    bool below = false;
    for (const auto& child : childrenOf(*node)) {
        // Children first, so that reversed the list opens each item before
        // the items inside it.
        bool inside = collectDiffering(child, open, depth + 1);
        if (inside || differs(child->item)) below = true;
    }
    if (below && node != _root && std::find(open.begin(), open.end(), node) == open.end()) open.push_back(node);
    return below;
}

void PrintOptionTreeDataSource::_finishUpdate() {
    if (!_outlineView) return;
    _outlineView->deselectAll();
    _itemCache.clear();
    _defaults.reset();
    if (_treeDictionary) _root = std::make_shared<Node>(Node{*_treeDictionary, 0, std::nullopt});
    _outlineView->reloadData();
    if (!_root) return;
    _outlineView->collapseItem(nullptr, true);
    std::vector<std::shared_ptr<Node>> open;
    collectDiffering(_root, open, 0);
    for (auto it = open.rbegin(); it != open.rend(); ++it) _outlineView->expandItem(*it);
}

}  // namespace ComTORVALEKZ2R4_Plugin
