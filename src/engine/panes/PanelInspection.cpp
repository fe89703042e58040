#include "engine/panes/PanelInspection.h"

#include "engine/panes/PanePlugInMgr.h"

namespace ComTORVALEKZ2R4_Plugin {

bool PanelInspection::hasPanes() { return PanePlugInMgr::hasSharedInstance(); }

QuillMgr::ControlsDictionary PanelInspection::registeredControls() {
    if (!hasPanes()) return {};
    return PanePlugInMgr::sharedInstance().quillMgr().getControlsDictionary();
}

OptionalText PanelInspection::typedValue(const std::string& keyword) {
    if (!hasPanes()) return std::nullopt;
    return PanePlugInMgr::sharedInstance().quillMgr().getStringValue(keyword);
}

std::vector<std::shared_ptr<kz::View>> PanelInspection::paneViews() {
    std::vector<std::shared_ptr<kz::View>> views;
    if (!hasPanes()) return views;
    PanePlugInMgr& mgr = PanePlugInMgr::sharedInstance();
    // A copy: making a view may load a pane into the table.
    const PanePlugInMgr::PlugInTable table = mgr.plugInTable();
    for (const auto& [key, entry] : table)
        if (auto view = mgr.panelViewOfBundleName(key)) views.push_back(view);
    return views;
}

std::optional<kz::Dictionary> PanelInspection::gatheredValues() {
    return PanePlugInMgr::sharedInstance().gatherPrintOptionValues(nullptr, "", false, false, false);
}

PanePlugInMgr& PanelInspection::paneManager() { return PanePlugInMgr::sharedInstance(); }

void PanelInspection::endPaneManager() { PanePlugInMgr::destroySharedInstance(); }

}  // namespace ComTORVALEKZ2R4_Plugin
