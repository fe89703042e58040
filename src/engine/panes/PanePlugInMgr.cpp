#include "engine/panes/PanePlugInMgr.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include "Common/Util/BundleUtil.h"
#include "Common/Security/EncDec.h"
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
    _loader.clear();
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

// ---- panes tree and loading

const std::optional<kz::Dictionary>& PanePlugInMgr::panesTreeDictionary() { return _loader.panesTree(); }

bool PanePlugInMgr::loadPlugIns() { return _loader.loadPlugIns(); }

void PanePlugInMgr::_loadPaneControllerAtPath(const std::string& path, const std::optional<std::string>& roleName) {
    _loader.loadAtPath(path, roleName);
}

std::shared_ptr<PanePlugInInterface> PanePlugInMgr::_loadPaneControllerWithName(const std::string& name) {
    return _loader.loadWithName(name);
}

const PlugInTableEntry* PanePlugInMgr::entryOfBundleName(std::string_view key) const {
    return _loader.entryOfBundleName(key);
}

std::shared_ptr<PanePlugInInterface> PanePlugInMgr::paneControllerOfBundleName(std::string_view key) {
    return _loader.paneControllerOfBundleName(key);
}

std::optional<std::string> PanePlugInMgr::panelNameOfBundleName(std::string_view key) {
    return _loader.panelNameOfBundleName(key);
}

std::shared_ptr<kz::View> PanePlugInMgr::panelViewOfBundleName(std::string_view key) {
    return _loader.panelViewOfBundleName(key);
}

std::optional<std::string> PanePlugInMgr::roleName(const PanePlugInInterface* controller) const {
    return _loader.roleName(controller);
}

std::shared_ptr<kz::View> PanePlugInMgr::safeInvokePanelViewFor(PanePlugInInterface& controller) {
    return PaneLoader::safeInvokePanelViewFor(controller);
}

bool PanePlugInMgr::loadPanelView() { return _loader.loadPanelView(); }

bool PanePlugInMgr::rebuildPanes(const std::string& ppdName, const std::optional<std::string>& /*panesTreeName*/) {
    _loader.forgetPanesTree();
    loadPlugIns();
    bool result = true;
    if (_ppdFile) {
        _ppdFile.reset();
        result = _ppdFileWithName(ppdName) != nullptr;
    }
    _defaultDictionary.reset();
    // A pane's view may reach back into the table; walk a copy.
    PlugInTable table = _loader.table();
    for (auto& [key, entry] : table) safeInvokePanelViewFor(*entry.paneConroller);
    return result;
}

void PanePlugInMgr::willShowAllBundle() {
    PlugInTable table = _loader.table();
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
