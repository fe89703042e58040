// Loading the pane bundles: the panes tree, the bundles below the plug-in's
// PlugIns folder (a bundle serving roles once per role), their controllers
// and views.
#include "engine/panes/PaneLoader.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "Common/Util/BundleUtil.h"
#include "engine/panes/PaneClassSource.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/View.h"
#include "platform/kit/ViewLoader.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// A panes tree nests no deeper than this (a file is outside input).
constexpr int kMaxTreeDepth = 64;
// Nor is the plug-ins folder walked deeper than this.
constexpr int kMaxFolderDepth = 16;

std::string bundleKey(const std::string& name, const std::optional<std::string>& role) {
    return role ? name + "+" + *role : name;
}

std::string plainName(const std::filesystem::path& path) { return path.stem().string(); }

}  // namespace

const std::optional<kz::Dictionary>& PaneLoader::panesTree() {
    if (_panesTree) return _panesTree;
    auto bundle = BSPrincipalBundle();
    auto name = AppPreference::sharedInstance().panesTreeFileNameWithAppName(std::nullopt);
    std::string path = bundle && name ? bundle->pathForResource(*name, "plist") : std::string();
    if (!path.empty()) {
        kz::Value tree = kz::PropertyList::readFile(path);
        if (tree.isDictionary()) _panesTree = tree.dictionary();
    }
    if (!_panesTree) kz::Log::line("### Error: panesTreeDictionary does not loaded.");
    return _panesTree;
}

void PaneLoader::gatherRoles(const kz::Dictionary& node,
                             std::vector<std::pair<std::string, std::vector<std::string>>>& roles, int depth) {
    if (depth > kMaxTreeDepth) return;
    auto add = [&roles](const kz::Value& bundleName) {
        if (!bundleName.isString()) return;
        const std::string& text = bundleName.string();
        auto plus = text.find('+');
        if (plus == std::string::npos) return;
        std::string name = text.substr(0, plus);
        std::string role = text.substr(plus + 1);
        role = role.substr(0, role.find('+'));  // further parts are ignored
        auto it = std::find_if(roles.begin(), roles.end(), [&](const auto& r) { return r.first == name; });
        if (it == roles.end()) it = roles.insert(roles.end(), {name, {}});
        it->second.push_back(role);
    };
    add(node.get("bundleName"));
    const kz::Value& dependency = node.get("dependency");
    if (dependency.isDictionary())
        for (const auto& [key, entry] : dependency.dictionary())
            if (key != "mainKeyword" && entry.isDictionary()) add(entry.dictionary().get("bundleName"));
    const kz::Value& items = node.get("items");
    if (items.isArray())
        for (const kz::Value& item : items.array())
            if (item.isDictionary()) gatherRoles(item.dictionary(), roles, depth + 1);
}

// ---- loading

bool PaneLoader::loadPlugIns() {
    std::vector<std::pair<std::string, std::vector<std::string>>> roles;
    if (const auto& tree = panesTree()) gatherRoles(*tree, roles, 0);
    auto bundle = BSPrincipalBundle();
    if (bundle) {
        namespace fs = std::filesystem;
        // Each folder's entries by name, so that every run loads in one order.
        std::vector<std::pair<fs::path, int>> folders{{fs::path(bundle->builtInPlugInsPath()), 0}};
        std::vector<fs::path> found;
        while (!folders.empty()) {
            auto [folder, depth] = folders.back();
            folders.pop_back();
            std::error_code ec;
            std::vector<fs::path> entries;
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
                entries.push_back(it->path());
            std::sort(entries.begin(), entries.end());
            std::vector<std::pair<fs::path, int>> below;
            for (const auto& entry : entries) {
                if (entry.extension() == ".bundle") found.push_back(entry);
                if (depth < kMaxFolderDepth && fs::is_directory(fs::symlink_status(entry, ec)))
                    below.emplace_back(entry, depth + 1);
            }
            folders.insert(folders.end(), below.rbegin(), below.rend());
        }
        for (const auto& path : found) {
            std::string name = plainName(path);
            auto it = std::find_if(roles.begin(), roles.end(), [&](const auto& r) { return r.first == name; });
            if (it == roles.end()) {
                loadAtPath(path.string(), std::nullopt);
            } else {
                for (const std::string& role : it->second) loadAtPath(path.string(), role);
            }
        }
    }
    return !_table.empty();
}

std::optional<std::shared_ptr<PanePlugInInterface>> PaneLoader::newPaneController(
    const std::shared_ptr<kz::Bundle>& bundle, bool& initialized) {
    initialized = false;
    std::string reason;
    try {
        std::shared_ptr<PaneObject> object = PaneClassSource::newPrincipalObject(*bundle, reason);
        if (!object) {
            kz::Log::format("### ## pane bundle %s skipped: %s", bundle->path().c_str(), reason.c_str());
            return std::nullopt;
        }
        auto* contract = dynamic_cast<PanePlugInInterface*>(object.get());
        if (!contract) {
            kz::Log::format("### ## pane bundle %s skipped: its principal class is no pane controller",
                           bundle->path().c_str());
            return std::nullopt;
        }
        std::shared_ptr<PanePlugInInterface> controller(object, contract);
        initialized = controller->initializePanel(bundle, &_callbacks);
        if (!initialized)
            kz::Log::format("### ## pane bundle %s skipped: initializePanel answered false", bundle->path().c_str());
        return controller;
    } catch (const std::exception& e) {
        kz::Log::format("### ## pane bundle %s skipped: exception %s", bundle->path().c_str(), e.what());
    } catch (...) {
        kz::Log::format("### ## pane bundle %s skipped: unknown exception", bundle->path().c_str());
    }
    return std::nullopt;
}

void PaneLoader::loadAtPath(const std::string& path, const std::optional<std::string>& roleName) {
    std::string name = plainName(path);
    if (entryOfBundleName(name)) return;
    auto bundle = kz::Bundle::open(path);
    if (!bundle) {
        kz::Log::format("### ## pane bundle %s skipped: cannot be opened", path.c_str());
        return;
    }
    bool initialized = false;
    auto controller = newPaneController(bundle, initialized);
    if (!controller || !initialized) return;
    storePane(bundleKey(name, roleName), {*controller, bundle});
}

std::shared_ptr<PanePlugInInterface> PaneLoader::loadWithName(const std::string& name) {
    auto principal = BSPrincipalBundle();
    if (name.empty() || !principal || entryOfBundleName(name)) return nullptr;
    if (name.find('/') != std::string::npos || name == "..") return nullptr;
    auto bundle = kz::Bundle::open(principal->builtInPlugInsPath() + "/" + name + ".bundle");
    if (!bundle) return nullptr;
    bool initialized = false;
    auto controller = newPaneController(bundle, initialized);
    if (!controller) return nullptr;
    // A pane that refused to start is handed back but not stored.
    if (initialized) storePane(name, {*controller, bundle});
    return *controller;
}

void PaneLoader::storePane(const std::string& key, PlugInTableEntry entry) {
    if (_table.empty()) _table.reserve(kTableCapacity);
    for (auto& [k, e] : _table)
        if (k == key) {
            e = std::move(entry);
            return;
        }
    _table.emplace_back(key, std::move(entry));
}

const PlugInTableEntry* PaneLoader::entryOfBundleName(std::string_view key) const {
    for (const auto& [k, e] : _table)
        if (k == key) return &e;
    return nullptr;
}

std::shared_ptr<PanePlugInInterface> PaneLoader::paneControllerOfBundleName(std::string_view key) {
    const PlugInTableEntry* entry = entryOfBundleName(key);
    if (!entry) return nullptr;
    auto controller = entry->paneConroller;
    safeInvokePanelViewFor(*controller);
    return controller;
}

std::optional<std::string> PaneLoader::panelNameOfBundleName(std::string_view key) {
    auto controller = paneControllerOfBundleName(key);
    if (!controller) return std::nullopt;
    try {
        return controller->panelName();
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in panelNameOfBundleName %s: %s", std::string(key).c_str(), e.what());
    }
    return std::nullopt;
}

std::shared_ptr<kz::View> PaneLoader::panelViewOfBundleName(std::string_view key) {
    const PlugInTableEntry* entry = entryOfBundleName(key);
    if (!entry) return nullptr;
    auto controller = entry->paneConroller;
    return safeInvokePanelViewFor(*controller);
}

std::optional<std::string> PaneLoader::roleName(const PanePlugInInterface* controller) const {
    std::optional<std::string> role;
    int stored = 0;
    for (const auto& [key, entry] : _table) {
        if (entry.paneConroller.get() != controller) continue;
        ++stored;
        auto plus = key.find('+');
        role = plus == std::string::npos ? std::nullopt : std::optional<std::string>(key.substr(plus + 1));
    }
    return stored == 1 ? role : std::nullopt;
}

std::shared_ptr<kz::View> PaneLoader::safeInvokePanelViewFor(PanePlugInInterface& controller) {
    // Loading the pane's view description must not run the host's start-up
    // code again.
    kz::ViewLoader::HostAwakeGuard guard;
    try {
        return controller.panelView();
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in safeInvokePanelViewFor: %s", e.what());
    } catch (...) {
        kz::Log::format("### ## exception caught in safeInvokePanelViewFor");
    }
    return nullptr;
}

bool PaneLoader::loadPanelView() {
    std::size_t position = _loadedViewCount + 1;
    if (position > _table.size()) return false;
    std::string key = _table[position - 1].first;
    panelViewOfBundleName(key);
    _loadedViewCount = position;
    return true;
}

void PaneLoader::forgetPanesTree() { _panesTree.reset(); }

}  // namespace ComTORVALEKZ2R4_Plugin
