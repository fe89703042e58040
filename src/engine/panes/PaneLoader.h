#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/panes/PanePlugInInterface.h"
#include "platform/foundation/Dictionary.h"

namespace kz {
class Bundle;
class View;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class PanePlugInMgr;

// One loaded pane: its controller (kept alive through the object its
// library made) and its bundle.
struct PlugInTableEntry {
    std::shared_ptr<PanePlugInInterface> paneConroller;
    std::shared_ptr<kz::Bundle> bundle;
};

// Loads the pane bundles the panes tree asks for from the principal bundle's
// PlugIns folder (a bundle serving roles once per role, stored as
// "Name+Role") and keeps them in load order with their views. Each pane is
// started with the manager as its callback object.
class PaneLoader {
public:
    // Bundle key -> entry, in the order stored.
    using Table = std::vector<std::pair<std::string, PlugInTableEntry>>;
    static constexpr std::size_t kTableCapacity = 34;

    explicit PaneLoader(PanePlugInMgr& callbacks) : _callbacks(callbacks) {}

    // The panes tree named by the preferences, read once.
    const std::optional<kz::Dictionary>& panesTree();
    void forgetPanesTree();
    // Loads every bundle not loaded yet; whether any pane is loaded.
    bool loadPlugIns();
    void loadAtPath(const std::string& path, const std::optional<std::string>& roleName);
    // Loads one more bundle by name; a pane that refused to start is handed
    // back but not stored.
    std::shared_ptr<PanePlugInInterface> loadWithName(const std::string& name);
    const Table& table() const { return _table; }
    void clear() {
        _panesTree.reset();
        _table.clear();
    }
    const PlugInTableEntry* entryOfBundleName(std::string_view key) const;
    std::shared_ptr<PanePlugInInterface> paneControllerOfBundleName(std::string_view key);
    std::optional<std::string> panelNameOfBundleName(std::string_view key);
    std::shared_ptr<kz::View> panelViewOfBundleName(std::string_view key);
    // The role of a controller stored once; none otherwise.
    std::optional<std::string> roleName(const PanePlugInInterface* controller) const;
    // The pane's view; null when making it threw.
    static std::shared_ptr<kz::View> safeInvokePanelViewFor(PanePlugInInterface& controller);
    // Makes the view of the next pane in the table; false past the last.
    bool loadPanelView();

private:
    void storePane(const std::string& key, PlugInTableEntry entry);
    std::optional<std::shared_ptr<PanePlugInInterface>> newPaneController(const std::shared_ptr<kz::Bundle>& bundle,
                                                                          bool& initialized);
    static void gatherRoles(const kz::Dictionary& node,
                            std::vector<std::pair<std::string, std::vector<std::string>>>& roles, int depth);

    PanePlugInMgr& _callbacks;
    std::optional<kz::Dictionary> _panesTree;
    Table _table;
    std::size_t _loadedViewCount = 0;  // loadPanelView's position in the table
};

}  // namespace ComTORVALEKZ2R4_Plugin
