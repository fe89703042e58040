#include "engine/panes/PanePlugInMgr.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "Common/Util/BundleUtil.h"
#include "Common/Util/EncDec.h"
#include "engine/panes/ConsistencyCheck.h"
#include "engine/panes/PaneClassSource.h"
#include "engine/ppd/PpdFile.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/View.h"
#include "platform/kit/ViewLoader.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::unique_ptr<PanePlugInMgr>& instance() {
    static std::unique_ptr<PanePlugInMgr> manager;
    return manager;
}

// A panes tree nests no deeper than this (a file is outside input).
constexpr int kMaxTreeDepth = 64;
// Nor is the plug-ins folder walked deeper than this.
constexpr int kMaxFolderDepth = 16;

std::string bundleKey(const std::string& name, const std::optional<std::string>& role) {
    return role ? name + "+" + *role : name;
}

std::string plainName(const std::filesystem::path& path) { return path.stem().string(); }

}  // namespace

PanePlugInMgr& PanePlugInMgr::sharedInstance() {
    auto& manager = instance();
    if (!manager) {
        manager.reset(new PanePlugInMgr());
        manager->_isInitializedNetworkData = false;
    }
    return *manager;
}

bool PanePlugInMgr::hasSharedInstance() { return instance() != nullptr; }

void PanePlugInMgr::destroySharedInstance() { instance().reset(); }

PanePlugInMgr::PanePlugInMgr() : _quillMgr(std::make_unique<QuillMgr>()) {
    _quillMgr->setNetworkDataState(this);
    readConfiguration();
    if (auto bundle = BSPrincipalBundle()) {
        _quillMgr->setPdeResourcePath(bundle->resourcePath());
        loadEncDec(bundle->resourcePath());
    }
}

PanePlugInMgr::~PanePlugInMgr() {
    // The registry goes first: its controls may belong to the panes.
    _quillMgr.reset();
    _panesTreeDictionary.reset();
    _plugInTable.clear();
    _ppdFile.reset();
    _defaultDictionary.reset();
    _currentProfilePath.reset();
    unloadEncDec();
}

void PanePlugInMgr::readConfiguration() {
    auto bundle = BSPrincipalBundle();
    if (!bundle) return;
    std::string error;
    kz::Value info = kz::PropertyList::readFile(bundle->path() + "/Contents/Info.plist", &error);
    if (!info.isDictionary()) return;
    const kz::Dictionary& config = info.dictionary();
    auto flag = [&](std::string_view key) {
        const kz::Value& v = config.get(key);
        return v.isBoolean() && v.boolValue();
    };
    _uiTabTreeView = flag("VLTabTreeView");
    _isHiddenNumCopies = flag("isHiddenNumCopies");
    _isHiddenDuplex = flag("isHiddenDuplex");
    _isHiddenCollate = flag("isHiddenCollate");
    const kz::Value& pod = config.get("VLPOD");
    if (pod.isString()) {
        _uiPOD = pod.string();
        std::string path = bundle->path() + "/Contents/Resources" + "/" + pod.string() + ".plist";
        std::error_code ec;
        if (pod.string().find('/') == std::string::npos && std::filesystem::is_regular_file(path, ec))
            _uiFilePath = path;
    }
}

// ---- panes tree

const std::optional<kz::Dictionary>& PanePlugInMgr::panesTreeDictionary() {
    if (_panesTreeDictionary) return _panesTreeDictionary;
    auto bundle = BSPrincipalBundle();
    auto name = AppPreference::sharedInstance().panesTreeFileNameWithAppName(std::nullopt);
    std::string path = bundle && name ? bundle->pathForResource(*name, "plist") : std::string();
    if (!path.empty()) {
        kz::Value tree = kz::PropertyList::readFile(path);
        if (tree.isDictionary()) _panesTreeDictionary = tree.dictionary();
    }
    if (!_panesTreeDictionary) kz::Log::line("### Error: panesTreeDictionary does not loaded.");
    return _panesTreeDictionary;
}

void PanePlugInMgr::gatherRoles(const kz::Dictionary& node,
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

bool PanePlugInMgr::loadPlugIns() {
    std::vector<std::pair<std::string, std::vector<std::string>>> roles;
    if (const auto& tree = panesTreeDictionary()) gatherRoles(*tree, roles, 0);
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
                _loadPaneControllerAtPath(path.string(), std::nullopt);
            } else {
                for (const std::string& role : it->second) _loadPaneControllerAtPath(path.string(), role);
            }
        }
    }
    return !_plugInTable.empty();
}

std::optional<std::shared_ptr<PanePlugInInterface>> PanePlugInMgr::newPaneController(
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
        initialized = controller->initializePanel(bundle, this);
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

void PanePlugInMgr::_loadPaneControllerAtPath(const std::string& path, const std::optional<std::string>& roleName) {
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

std::shared_ptr<PanePlugInInterface> PanePlugInMgr::_loadPaneControllerWithName(const std::string& name) {
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

void PanePlugInMgr::storePane(const std::string& key, PlugInTableEntry entry) {
    if (_plugInTable.empty()) _plugInTable.reserve(kPlugInTableCapacity);
    for (auto& [k, e] : _plugInTable)
        if (k == key) {
            e = std::move(entry);
            return;
        }
    _plugInTable.emplace_back(key, std::move(entry));
}

const PlugInTableEntry* PanePlugInMgr::entryOfBundleName(std::string_view key) const {
    for (const auto& [k, e] : _plugInTable)
        if (k == key) return &e;
    return nullptr;
}

std::shared_ptr<PanePlugInInterface> PanePlugInMgr::paneControllerOfBundleName(std::string_view key) {
    const PlugInTableEntry* entry = entryOfBundleName(key);
    if (!entry) return nullptr;
    auto controller = entry->paneConroller;
    safeInvokePanelViewFor(*controller);
    return controller;
}

std::optional<std::string> PanePlugInMgr::panelNameOfBundleName(std::string_view key) {
    auto controller = paneControllerOfBundleName(key);
    if (!controller) return std::nullopt;
    try {
        return controller->panelName();
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in panelNameOfBundleName %s: %s", std::string(key).c_str(), e.what());
    }
    return std::nullopt;
}

std::shared_ptr<kz::View> PanePlugInMgr::panelViewOfBundleName(std::string_view key) {
    const PlugInTableEntry* entry = entryOfBundleName(key);
    if (!entry) return nullptr;
    auto controller = entry->paneConroller;
    return safeInvokePanelViewFor(*controller);
}

std::optional<std::string> PanePlugInMgr::roleName(const PanePlugInInterface* controller) const {
    std::optional<std::string> role;
    int stored = 0;
    for (const auto& [key, entry] : _plugInTable) {
        if (entry.paneConroller.get() != controller) continue;
        ++stored;
        auto plus = key.find('+');
        role = plus == std::string::npos ? std::nullopt : std::optional<std::string>(key.substr(plus + 1));
    }
    return stored == 1 ? role : std::nullopt;
}

std::shared_ptr<kz::View> PanePlugInMgr::safeInvokePanelViewFor(PanePlugInInterface& controller) {
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

bool PanePlugInMgr::loadPanelView() {
    std::size_t position = _loadedViewCount + 1;
    if (position > _plugInTable.size()) return false;
    std::string key = _plugInTable[position - 1].first;
    panelViewOfBundleName(key);
    _loadedViewCount = position;
    return true;
}

bool PanePlugInMgr::rebuildPanes(const std::string& ppdName, const std::optional<std::string>& /*panesTreeName*/) {
    _panesTreeDictionary.reset();
    loadPlugIns();
    bool result = true;
    if (_ppdFile) {
        _ppdFile.reset();
        result = _ppdFileWithName(ppdName) != nullptr;
    }
    _defaultDictionary.reset();
    // A pane's view may reach back into the table; walk a copy.
    PlugInTable table = _plugInTable;
    for (auto& [key, entry] : table) safeInvokePanelViewFor(*entry.paneConroller);
    return result;
}

void PanePlugInMgr::willShowAllBundle() {
    PlugInTable table = _plugInTable;
    for (auto& [key, entry] : table) {
        if (auto* pane = dynamic_cast<PaneWillShow*>(entry.paneConroller.get())) {
            try {
                pane->willShow();
            } catch (const std::exception& e) {
                kz::Log::format("### ## exception caught in willShowAllBundle %s: %s", key.c_str(), e.what());
            }
        }
    }
    _isInitializedNetworkData = true;
}

// ---- the print server's lists

kz::Value PanePlugInMgr::getStackerInfoList() { return _lists.named("StackerInfoList"); }
kz::Value PanePlugInMgr::getFeederInfoList() { return _lists.named("FeederInfoList"); }
kz::Value PanePlugInMgr::getDeviceList() { return _lists.named("DeviceList"); }
kz::Value PanePlugInMgr::getJobFolderList() { return _lists.named("JobFolder"); }
kz::Value PanePlugInMgr::getPrePostDeviceList() { return _lists.named("PrePostDevice"); }
kz::Value PanePlugInMgr::getNoteFileList() { return _lists.named("JobResource-NOTE"); }
kz::Value PanePlugInMgr::getCustomNoteFileList() { return _lists.named("JobResource-CUSTOM_NOTE"); }
kz::Value PanePlugInMgr::getPagenationFileList() { return _lists.named("JobResource-PAGENATION"); }
kz::Value PanePlugInMgr::getFormFileList() { return _lists.named("JobResource-FORM"); }
kz::Value PanePlugInMgr::getWaterMarkFileList() { return _lists.named("JobResource-WATERMARK"); }
kz::Value PanePlugInMgr::getTrappingFileList() { return _lists.named("JobResource-TRAPPING"); }
kz::Value PanePlugInMgr::getNormalizerFileList() { return _lists.named("JobResource-NORMALIZER"); }
kz::Value PanePlugInMgr::getImpositionFileList() { return _lists.named("JobResource-IMPOSITION"); }
kz::Value PanePlugInMgr::getFontList() { return _lists.named("Font"); }
kz::Value PanePlugInMgr::getDensityAdjustProfileList() { return _lists.named("DensityAdjustProfile"); }
kz::Value PanePlugInMgr::getUserTrcProfileList() { return _lists.named("UserTrcProfile"); }
kz::Value PanePlugInMgr::getDeviceLinkFileList() { return _lists.named("DeviceLinkFile"); }
kz::Value PanePlugInMgr::getCalibFileList() { return _lists.named("CalibFile"); }
void PanePlugInMgr::getAllList() { _lists.fetchAll(); }

// ---- the consistency check

std::vector<std::string> PanePlugInMgr::consistencyFailures(const kz::Dictionary& printOption) {
    return ConsistencyCheck::failures(printOption);
}

std::string PanePlugInMgr::localizedAlertText(const std::string& key) {
    return ConsistencyCheck::localizedAlertText(key);
}

bool PanePlugInMgr::isPrintOptionConsistencyCheck(const kz::Dictionary& printOption) {
    return ConsistencyCheck::confirm(printOption);
}

// ---- plain platform controls

void PanePlugInMgr::_buildControl(kz::Control* control, const std::optional<std::string>& key,
                                  const std::optional<std::string>& title) {
    _plainControls.build(control, key, title);
}

kz::Value PanePlugInMgr::_getValueFromControl(const kz::Control* control) const {
    return PlainControls::valueOf(control);
}

void PanePlugInMgr::_setValueToControl(kz::Control* control, const kz::Value& value) {
    PlainControls::setValue(control, value);
}

}  // namespace ComTORVALEKZ2R4_Plugin
