#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/panes/PaneLoader.h"
#include "engine/panes/PanePlugInInterface.h"
#include "engine/panes/PlainControls.h"
#include "engine/panes/PrinterDataSource.h"
#include "engine/panes/PrinterLists.h"
#include "engine/rules/NetworkDataState.h"
#include "engine/rules/QuillMgr.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/printing/PrintServerURI.h"

namespace kz {
class Bundle;
class Control;
class Image;
class Menu;
class MenuItem;
class View;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class PpdFile;

// The process-wide pane plug-in manager: reads the plug-in's configuration,
// owns the option control registry, loads the pane bundles the panes tree
// asks for (a bundle serving roles once per role), and is the callback
// object of every pane. It answers option names, defaults, summaries and
// profiles from the plug-in's own PPD. Loading the panes (PaneLoader), the
// printer lists (PrinterLists), the consistency check (ConsistencyCheck) and
// the plain controls (PlainControls) are collaborators it hands the panes'
// calls to.
//
// Unlike the other singletons it can be destroyed (destroySharedInstance);
// the next sharedInstance makes a new one.
class KZ_EXPORT PanePlugInMgr : public NetworkDataState {
public:
    // Bundle key -> entry, in the order stored.
    using PlugInTable = PaneLoader::Table;
    using Controls = std::vector<std::shared_ptr<QuillUI>>;
    using ControlMap = std::vector<std::pair<std::string, std::shared_ptr<QuillUI>>>;

    // The plug-in bundle is the principal bundle (BSPrincipalBundle).
    static PanePlugInMgr& sharedInstance();
    static bool hasSharedInstance();
    static void destroySharedInstance();

    ~PanePlugInMgr() override;
    PanePlugInMgr(const PanePlugInMgr&) = delete;
    PanePlugInMgr& operator=(const PanePlugInMgr&) = delete;

    QuillMgr& quillMgr() { return *_quillMgr; }

    // ---- configuration
    const std::optional<std::string>& getUIFilePath() const { return _uiFilePath; }
    const std::optional<std::string>& isPOD() const { return _uiPOD; }
    bool getTabTreeView() const { return _uiTabTreeView; }
    bool isHiddenNumCopies() const { return _isHiddenNumCopies; }
    bool isHiddenDuplex() const { return _isHiddenDuplex; }
    bool isHiddenCollate() const { return _isHiddenCollate; }
    void setHostName(const std::string& hostName) { _hostName = hostName; }
    const std::optional<std::string>& getHostName() const { return _hostName; }
    const std::optional<std::string>& destinationAddress() const { return _hostName; }
    // The print service's SOAP port at that host, from the same address.
    void setServicePort(int port) { _servicePort = port; }
    int servicePort() const { return _servicePort; }
    // The panel that answers printer-data queries, and the one reformatting
    // values; neither owned. A panel that goes away while registered clears
    // itself (clearPDEObject), so the lists never reach a dead panel.
    void setPDEObject(PrinterDataSource* panel) { _lists.setSource(panel); }
    PrinterDataSource* PDEObject() const { return _lists.source(); }
    void clearPDEObject(const PrinterDataSource* panel) { _lists.clearSource(panel); }
    void setDelegate(const void* panel) { _delegate = panel; }
    const void* delegate() const { return _delegate; }
    bool isInitializedNetworkData() const override { return _isInitializedNetworkData; }
    void setInitializedNetworkData(bool on) { _isInitializedNetworkData = on; }
    bool isForPDE() const { return true; }

    // ---- panes tree and loading
    const std::optional<kz::Dictionary>& panesTreeDictionary();
    const kz::Dictionary& resolveItem(const kz::Dictionary& item) const { return item; }
    const kz::Dictionary& resolveItem(const kz::Dictionary& item, bool /*expandDependency*/) const { return item; }
    bool loadPlugIns();
    std::shared_ptr<PanePlugInInterface> _loadPaneControllerWithName(const std::string& name);
    const PlugInTable& plugInTable() const { return _loader.table(); }
    const PlugInTableEntry* entryOfBundleName(std::string_view key) const;
    std::shared_ptr<PanePlugInInterface> paneControllerOfBundleName(std::string_view key);
    std::optional<std::string> panelNameOfBundleName(std::string_view key);
    std::shared_ptr<kz::View> panelViewOfBundleName(std::string_view key);
    std::optional<std::string> roleName(const PanePlugInInterface* controller) const;
    std::shared_ptr<kz::View> safeInvokePanelViewFor(PanePlugInInterface& controller);
    bool loadPanelView();
    bool rebuildPanes(const std::string& ppdName, const std::optional<std::string>& panesTreeName);
    void willShowAllBundle();

    // ---- the print server's lists (from the panel; null when there is none)
    kz::Value getStackerInfoList();
    kz::Value getFeederInfoList();
    kz::Value getDeviceList();
    kz::Value getJobFolderList();
    kz::Value getPrePostDeviceList();
    kz::Value getNoteFileList();
    kz::Value getCustomNoteFileList();
    kz::Value getPagenationFileList();
    kz::Value getFormFileList();
    kz::Value getWaterMarkFileList();
    kz::Value getTrappingFileList();
    kz::Value getNormalizerFileList();
    kz::Value getImpositionFileList();
    kz::Value getFontList();
    kz::Value getDensityAdjustProfileList();
    kz::Value getUserTrcProfileList();
    kz::Value getDeviceLinkFileList();
    kz::Value getCalibFileList();
    // Asks for every list once, discarding the answers.
    void getAllList();

    // ---- registering option controls
    void setQuillUiToQuillMgr(const std::shared_ptr<QuillUI>& control);
    // Files the control (and its children) out of the registry again: a
    // panel that goes away takes its own controls with it, so a later panel's
    // controls are the ones the rules read.
    void removeQuillUiFromQuillMgr(const std::shared_ptr<QuillUI>& control);
    void buildPaneUi(PanePlugInInterface& controller, const std::shared_ptr<kz::Bundle>& bundle);
    bool setupQuillUIControls(const Controls* controls, const kz::Dictionary* controlDictionary,
                              ControlMap* outputDictionary, const std::shared_ptr<kz::Bundle>& bundle);
    Controls getQuillUIControls(const kz::View* view) const;
    std::shared_ptr<QuillUI> getQuillUIOneControl(const Controls& controls, std::string_view key) const;

    // ---- menus and plain controls
    void addMenuItem(kz::Menu* menu, const std::optional<std::string>& mainKeyword,
                     const std::optional<std::string>& optionAlias, const std::optional<std::string>& optionKeyword);
    void setMenuItem(kz::MenuItem* item, const std::optional<std::string>& mainKeyword,
                     const std::optional<std::string>& optionAlias, const std::optional<std::string>& optionKeyword);
    kz::Value representedObjectOfMenuItem(const kz::MenuItem* item, std::string_view key) const;
    kz::Value representedObject(const kz::Control* control, std::string_view key) const;
    std::shared_ptr<kz::Image> imageWithName(const std::string& name, const kz::Bundle* bundle) const;
    void setHidden(bool hidden, const std::vector<kz::View*>& conrtols);
    void setEnabled(bool enabled, const std::vector<kz::Control*>& dependentConrtols);
    void delayedAction(kz::Control* control);

    // ---- forwarded to the registry
    bool validateBeforeChange(const std::string& key, const std::string& valueIf,
                              const std::optional<std::string>& name);
    std::optional<std::vector<std::string>> setStringValueWithRestoreConfliction(const std::string& value,
                                                                                 const std::string& key);
    void setStringValue(const OptionalText& value, const std::string& key);
    void updateOldValue(const std::string& key);
    OptionalText getStringValueFromKey(const std::string& key) const;

    // ---- operations kept for the panes' sake that do nothing
    void updateEnabledStatesByBundleName(const std::string&, const std::string&, bool, bool, bool) {}
    void revertToDefaultByBundleName(const std::string&) {}
    void setParentWindow(const void*) {}
    kz::Dictionary resloveConflictAlertDuplex(const std::string&, const std::string&, int) { return {}; }

    // ---- the plug-in's PPD, aliases and defaults
    PpdFile* ppdInformation();
    bool isExistsInPpd(const std::optional<std::string>& mainKeyword,
                       const std::optional<std::string>& optionKeyword);
    kz::Dictionary defaultSettings();
    kz::Value selectedOptionKeyword(const std::string& mainKeyword) { return _defaultOptionKeyword(mainKeyword); }
    void getAlias(std::optional<std::string>* mainAlias, std::optional<std::string>* optionAlias,
                  const std::optional<std::string>& mainKeyword, const std::optional<std::string>& optionKeyword);
    std::optional<std::string> _mainAlias(const std::string& mainKeyword, const kz::Bundle* bundle,
                                          const PanePlugInInterface* paneController);
    std::optional<std::string> _optionAlias(const std::string& mainKeyword, const std::string& optionKeyword,
                                            const kz::Bundle* bundle, const PanePlugInInterface* paneController,
                                            const kz::Dictionary* printOption,
                                            const ProfileUiInformations* profileUiInfo,
                                            const kz::Dictionary* profileDictionary);
    static std::optional<std::string> _stringFromObject(const kz::Value& value);

    // ---- print options
    std::optional<kz::Dictionary> summaryInfoFromPrintOption(const kz::Dictionary* printOption);
    bool restorePrintOptionValues(const kz::Dictionary* printOption);
    std::optional<kz::Dictionary> gatherPrintOptionValues(const kz::Dictionary* printOption,
                                                          const std::string& fileType, bool useServerSetting,
                                                          bool sameSettingForNext, bool unifiedFileType);
    void updateEnabledStates(const std::string& fileType, bool unifiedFileType, bool useServerSetting,
                             bool sameSettingForNext);

    // ---- profiles
    void updateProfilesOfAllBundles(const std::string& path);
    void updateProfileByBundleName(std::string_view key, const std::string& profilePath);
    std::optional<kz::Dictionary> dictionaryOfCurrentProfile() const;
    const std::optional<std::string>& currentProfilePath() const { return _currentProfilePath; }

    // ---- the consistency check
    // The message keys of the rules the print option breaks, in rule order.
    static std::vector<std::string> consistencyFailures(const kz::Dictionary& printOption);
    // The localised texts of those keys in the plug-in's strings.
    static std::string localizedAlertText(const std::string& key);
    bool isPrintOptionConsistencyCheck(const kz::Dictionary& printOption);

    // ---- plain platform controls filled from the PPD
    void _buildControl(kz::Control* control, const std::optional<std::string>& key,
                       const std::optional<std::string>& title);
    kz::Value getValueFromControl(const kz::Control* control) const { return _getValueFromControl(control); }
    void _setValueToControl(kz::Control* control, const kz::Value& value);

    // The key a secure text field's value is encrypted with.
    static constexpr const char* kPasswordKey = "paramoxide=qxlr_data";
    static constexpr std::size_t kPlugInTableCapacity = PaneLoader::kTableCapacity;

private:
    PanePlugInMgr();
    void readConfiguration();
    // A profile menu grows from its last numbered item up to lastNo.
    void _addProfileItem(const std::string& mainKeyword, kz::PopUpButton* control, int lastNo,
                         const std::string& option, const std::shared_ptr<kz::Bundle>& bundle);
    // The default of the option; "CMYK" reads "CMYK2" where the PPD lists it.
    kz::Value _defaultOptionKeyword(const std::string& mainKeyword);
    // A numbered choice's text with the profile's value for that number ("2-Glossy").
    std::optional<std::string> _optionAliasForProfile(const std::optional<std::string>& mainKeyword,
                                                      const std::optional<std::string>& optionKeyword,
                                                      const std::optional<std::string>& optionAlias,
                                                      const kz::Bundle* bundle,
                                                      const PanePlugInInterface* paneController,
                                                      const ProfileUiInformations* profileUiInfo,
                                                      const kz::Dictionary* profileDictionary);
    void _loadPaneControllerAtPath(const std::string& path, const std::optional<std::string>& roleName);
    PpdFile* _ppdFileWithName(const std::string& name);
    bool _isEnable(const kz::Dictionary* printOption, const std::string& fileType, bool useServerSetting,
                   bool sameSettingForNext, bool unifiedFileType) const;
    void _setProfilePath(const std::string& path);
    kz::Value _getValueFromControl(const kz::Control* control) const;
    const kz::Dictionary& defaults();
    void rememberDefaults(const Controls& controls);

    std::unique_ptr<QuillMgr> _quillMgr;
    PaneLoader _loader{*this};
    std::unique_ptr<PpdFile> _ppdFile;
    std::optional<kz::Dictionary> _defaultDictionary;
    std::optional<std::string> _currentProfilePath;
    std::optional<std::string> _hostName;
    int _servicePort = kz::PrintServerURI::kServicePort;
    std::optional<std::string> _uiFilePath;
    std::optional<std::string> _uiPOD;
    bool _uiTabTreeView = false;
    bool _isHiddenNumCopies = false;
    bool _isHiddenDuplex = false;
    bool _isHiddenCollate = false;
    const void* _delegate = nullptr;
    PrinterLists _lists;
    PlainControls _plainControls{[this] { return ppdInformation(); }};
    bool _isInitializedNetworkData = false;
};

}  // namespace ComTORVALEKZ2R4_Plugin
