// The panel's life: creation, its view and outlets, building its controls,
// showing, hiding and going away, and the option notifications it observes.
#include "PDE/KemoPDEByCocoa.h"

#include <cups/http.h>

#include <exception>

#include "Common/Util/AlertUtil.h"
#include "Common/Util/BundleUtil.h"
#include "Common/TextInput/TextFieldEnvironment.h"
#include "engine/dialogs/DetailedSettingsWinController.h"
#include "engine/controls/QuillUI.h"
#include "engine/favorites/FavoriteValuesCache.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/ppd/PpdFile.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TextField.h"
#include "platform/kit/View.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"
#include "platform/printing/PrintServerURI.h"
#include "platform/printing/PrintingCalls.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// The options whose changes the panel follows while it is shown: its own
// option controls, two-sided printing included, so that a change of any of
// them is compared with the chosen favorite.
constexpr const char* kObservedOptions[] = {"PagePrintOnCenter", "StapleMode",   "Punch_PunchHoles",
                                            "Fold",              "OutputTray",   "OffsetMode",
                                            "AutoTraySettingToBypass", "VLInputSlot", "DuplexMode"};

void logException(const char* operation, const std::exception& e) {
    kz::Log::format("### ## exception caught in %s %s: %s", operation, exceptionName(e).c_str(),
                    exceptionMessage(e).c_str());
}

}  // namespace

PanePlugInMgr& KemoPDEByCocoa::_panePlugInMgr() { return PanePlugInMgr::sharedInstance(); }

std::shared_ptr<KemoPDEByCocoa> KemoPDEByCocoa::initWithCallback(std::shared_ptr<kz::PDEHostCallback> callback,
                                                                 std::shared_ptr<kz::Bundle> bundle) {
    // Text fields in the panes' views name classes of their own; once per process.
    static const bool registered = [] {
        TextFieldEnvironment::registerViewClasses();
        QuillUI::registerViewClass();
        return true;
    }();
    (void)registered;
    std::shared_ptr<KemoPDEByCocoa> panel(new KemoPDEByCocoa());
    panel->initialize(std::move(callback), std::move(bundle));
    return panel;
}

void KemoPDEByCocoa::initialize(std::shared_ptr<kz::PDEHostCallback> callback, std::shared_ptr<kz::Bundle> bundle) {
    _pdePluginCallbackObject = std::move(callback);
    if (bundle) {
        _plugInBundle = std::move(bundle);
        // Every later resource and text lookup, the panes' included, goes to
        // the plug-in's bundle and not to the host application's.
        SetNSBundleForPrincipalBundle(_plugInBundle);
        SetNSBundleForLocalizedString(_plugInBundle);
        AppPreference::sharedInstance().setBundle(_plugInBundle);
    }
    _useConstraintHandling = dynamic_cast<kz::PDEPPDChangeCapability*>(_pdePluginCallbackObject.get()) != nullptr;

    PanePlugInMgr& manager = _panePlugInMgr();
    manager.loadPlugIns();
    // The panes file their option controls when their views are made. The
    // defaults, and with them every option that restoring reads back, are
    // those of the controls filed, so the views are made now.
    for (const auto& [key, entry] : PanePlugInMgr::PlugInTable(manager.plugInTable()))
        if (entry.paneConroller) manager.safeInvokePanelViewFor(*entry.paneConroller);
    manager.setPDEObject(this);
    manager.getAllList();
    _detailedSettingsWinController = &DetailedSettingsWinController::sharedInstance();
    if (!_hostName) takeHostName();
    _setDefaults();
}

// The print server's host and its service port from the printer's device
// address (kz::PrintServerURI: the product's form, or the old "v1." rule).
void KemoPDEByCocoa::takeHostName() {
    kz::PrintSession* session = _pdePluginCallbackObject ? _pdePluginCallbackObject->printSession() : nullptr;
    std::shared_ptr<kz::Printer> printer;
    if (kz::PMSessionGetCurrentPrinter(session, &printer) != kz::kNoErr) return;
    std::string uri;
    if (kz::PMPrinterCopyDeviceURI(printer.get(), &uri) != kz::kNoErr || uri.empty()) return;
    std::optional<kz::PrintServerURI> server = kz::PrintServerURI::parse(uri);
    if (!server || server->host().empty()) return;
    const std::string& name = server->host();
    _hostName = name;
    _panePlugInMgr().setHostName(name);
    _panePlugInMgr().setServicePort(server->servicePort());
}

KemoPDEByCocoa::~KemoPDEByCocoa() {
    configuringNotification(false);
    if (PanePlugInMgr::hasSharedInstance()) {
        PanePlugInMgr& manager = _panePlugInMgr();
        manager.clearPDEObject(this);
        for (const auto& control : ownControls()) manager.removeQuillUiFromQuillMgr(control);
    }
    _isIntializedUi = false;
}

std::vector<std::shared_ptr<QuillUI>> KemoPDEByCocoa::ownControls() const {
    std::vector<std::shared_ptr<QuillUI>> controls;
    for (const auto& c : {_quill_AutoTraySettingToBypass, _quill_DuplexMode, _quill_PagePrintOnCenter,
                          _quill_StapleMode, _quill_Punch_PunchHoles, _quill_Fold, _quill_OutputTray,
                          _quill_OffsetMode, _quill_VLInputSlot})
        if (c) controls.push_back(c);
    for (const auto& c : _trayWindows->paperTrayControls()) controls.push_back(c);
    return controls;
}

// ------------------------------------------------------------------ the view

bool KemoPDEByCocoa::loadView() {
    std::string path = _plugInBundle ? _plugInBundle->pathForResource(kViewDescription, "plist") : std::string();
    if (!path.empty()) {
        std::string error;
        if (!kz::ViewLoader::loadFile(path, this, &error))
            kz::Log::format("### ## %s: %s", kViewDescription, error.c_str());
    }
    if (!_View) kz::Log::line("### ## Couldn't load view from nib");
    return _View != nullptr;
}

std::shared_ptr<kz::View> KemoPDEByCocoa::panelView() {
    try {
        if (!_View) loadView();
    } catch (const std::exception& e) {
        logException("panelView", e);
    }
    return _View;
}

std::span<const kz::ViewOwner::Outlet> KemoPDEByCocoa::outlets() const {
    static const Outlet table[] = {
        outlet("_View", &KemoPDEByCocoa::_View),
        outlet("_Favorite", &KemoPDEByCocoa::_Favorite),
        outlet("_titleFavorite", &KemoPDEByCocoa::_titleFavorite),
        outlet("_saveFavoriteButton", &KemoPDEByCocoa::_saveFavoriteButton),
        outlet("_deleteFavoriteButton", &KemoPDEByCocoa::_deleteFavoriteButton),
        outlet("_browseFavoriteButton", &KemoPDEByCocoa::_browseFavoriteButton),
        outlet("_jobName", &KemoPDEByCocoa::_jobName),
        outlet("_jobNameButton", &KemoPDEByCocoa::_jobNameButton),
        outlet("_showDetailedSettingsButton", &KemoPDEByCocoa::_showDetailedSettingsButton),
        outlet("_revertToDefaultSettingsButton", &KemoPDEByCocoa::_revertToDefaultSettingsButton),
        outlet("_automaticPaperTraySelectionButton", &KemoPDEByCocoa::_automaticPaperTraySelectionButton),
        outlet("_bypassPaperTraySelectionButton", &KemoPDEByCocoa::_bypassPaperTraySelectionButton),
        outlet("_quill_AutoTraySettingToBypass", &KemoPDEByCocoa::_quill_AutoTraySettingToBypass),
        outlet("_quill_DuplexMode", &KemoPDEByCocoa::_quill_DuplexMode),
        outlet("_quill_PagePrintOnCenter", &KemoPDEByCocoa::_quill_PagePrintOnCenter),
        outlet("_quill_StapleMode", &KemoPDEByCocoa::_quill_StapleMode),
        outlet("_quill_Punch_PunchHoles", &KemoPDEByCocoa::_quill_Punch_PunchHoles),
        outlet("_quill_Fold", &KemoPDEByCocoa::_quill_Fold),
        outlet("_quill_OutputTray", &KemoPDEByCocoa::_quill_OutputTray),
        outlet("_quill_OffsetMode", &KemoPDEByCocoa::_quill_OffsetMode),
        outlet("_quill_VLInputSlot", &KemoPDEByCocoa::_quill_VLInputSlot),
    };
    return table;
}

bool KemoPDEByCocoa::connectWindowOutlet(const std::shared_ptr<kz::Window>& window) {
    win = window;
    return window != nullptr;
}

std::span<const kz::ViewOwner::Action> KemoPDEByCocoa::actions() const {
    // The host may keep the view in its dialog after it let the panel go.
    static const Action table[] = {
        weakAction("clickedShowDetailedSettingsButton:", &KemoPDEByCocoa::clickedShowDetailedSettingsButton),
        weakAction("clickedRevertToDefaultSettings:", &KemoPDEByCocoa::clickedRevertToDefaultSettings),
        weakAction("selectFavorite:", &KemoPDEByCocoa::selectFavorite),
        weakAction("clickedSelectPaperTraySelectionButton:", &KemoPDEByCocoa::clickedSelectPaperTraySelectionButton),
        weakAction("clickedSaveFavoriteButton:", &KemoPDEByCocoa::clickedSaveFavoriteButton),
        weakAction("clickedBrowseFavoriteButton:", &KemoPDEByCocoa::clickedBrowseFavoriteButton),
        weakAction("clickedJobNameButton:", &KemoPDEByCocoa::clickedJobNameButton),
        weakAction("clickedDeleteFavoriteButton:", &KemoPDEByCocoa::clickedDeleteFavoriteButton),
    };
    return table;
}

std::string KemoPDEByCocoa::localized(const std::string& key) const {
    // The panel's texts share the bundle's "UI" table with the option texts;
    // an empty fallback means the key itself.
    return _plugInBundle ? _plugInBundle->localizedString(key, key, "UI") : key;
}

// ------------------------------------------------------------- building the UI

void KemoPDEByCocoa::describe(const std::shared_ptr<QuillUI>& control, const kz::Dictionary& descriptions,
                              const char* key) {
    if (!control) return;
    const kz::Value& entry = descriptions.get(key);
    control->setControlDictionary(entry.isDictionary() ? entry.dictionary() : kz::Dictionary(), _plugInBundle);
    control->updateControl();
    _panePlugInMgr().setQuillUiToQuillMgr(control);
}

const kz::Dictionary& KemoPDEByCocoa::controlDescriptions() {
    if (!_controlDescriptions) {
        _controlDescriptions.emplace();
        if (std::optional<std::string> uiFile = _panePlugInMgr().getUIFilePath()) {
            kz::Value file = kz::PropertyList::readFile(*uiFile);
            if (file.isDictionary()) _controlDescriptions = file.dictionary();
        }
    }
    return *_controlDescriptions;
}

void KemoPDEByCocoa::_buildUi() {
    if (_isIntializedUi) return;
    try {
        if (!_View) loadView();
        auto setTitle = [this](const std::shared_ptr<kz::Control>& control, const char* key) {
            if (control) control->setTitle(localized(key));
        };
        if (_titleFavorite) _titleFavorite->setStringValue(localized("Favorites:"));
        setTitle(_saveFavoriteButton, "Save...");
        setTitle(_deleteFavoriteButton, "Delete...");
        setTitle(_browseFavoriteButton, "Browse...");
        setTitle(_jobNameButton, "Job name...");
        if (_jobName) _jobName->setStringValue(localized("Auto"));
        setTitle(_showDetailedSettingsButton, "Show Detailed Settings");
        setTitle(_revertToDefaultSettingsButton, "Revert to Default Settings");
        setTitle(_automaticPaperTraySelectionButton, "Automatic Tray...");

        if (_Favorite) {
            FavoriteFolder::buildFavoritePopup(*_Favorite);
            const kz::MenuItem* current = _Favorite->selectedItem();
            bool hasPath = current && current->representedObject().isString() &&
                           !current->representedObject().string().empty();
            if (!hasPath && _deleteFavoriteButton) _deleteFavoriteButton->setEnabled(false);
        }

        PanePlugInMgr& manager = _panePlugInMgr();
        _isHiddenNumCopies = manager.isHiddenNumCopies();
        _isHiddenDuplex = manager.isHiddenDuplex();
        _isHiddenCollate = manager.isHiddenCollate();
        const kz::Dictionary& descriptions = controlDescriptions();

        _hasBypassEntry = descriptions.contains("AutoTraySettingToBypass");
        if (_hasBypassEntry) {
            describe(_quill_AutoTraySettingToBypass, descriptions, "AutoTraySettingToBypass");
            if (_bypassPaperTraySelectionButton) {
                _bypassPaperTraySelectionButton->setTitle(localized("Bypass Tray..."));
                _bypassPaperTraySelectionButton->setHidden(false);
            }
        }
        describe(_quill_DuplexMode, descriptions, "DuplexMode");
        describe(_quill_PagePrintOnCenter, descriptions, "PagePrintOnCenter");
        describe(_quill_StapleMode, descriptions, "StapleMode");
        describe(_quill_Punch_PunchHoles, descriptions, "Punch_PunchHoles");
        describe(_quill_Fold, descriptions, "Fold");
        describe(_quill_OutputTray, descriptions, "OutputTray");
        describe(_quill_OffsetMode, descriptions, "OffsetMode");
        describe(_quill_VLInputSlot, descriptions, "VLInputSlot");

        _trayWindows->createPaperTraySelection(false);
        if (_hasBypassEntry) _trayWindows->createPaperTraySelection(true);
        _trayWindows->checkDevice();
        _trayWindows->updateOutputTrayList();
        _trayWindows->updateInputSlotList();
        _isIntializedUi = true;
        if (std::optional<std::string> restored = _restoredFavoritePath) {
            _favoritesMenu->selectRestoredFavorite(*restored);
            _favoritesMenu->checkDifferenceFromCurrentFavorite(true);
        }
    } catch (const std::exception& e) {
        logException("_buildUi", e);
    }
}

// ------------------------------------------------------------ show and hide

void KemoPDEByCocoa::willShow() {
    try {
        _buildUi();
        kz::Value prePost = _panePlugInMgr().getPrePostDeviceList();
        if (prePost.isArray() && !prePost.array().empty()) _trayWindows->setPaperTypeCustomList(prePost);
        _panePlugInMgr().willShowAllBundle();
        _updatePaneFromModel();
        for (const auto& view : {std::static_pointer_cast<kz::View>(_Favorite),
                                 std::static_pointer_cast<kz::View>(_titleFavorite),
                                 std::static_pointer_cast<kz::View>(_saveFavoriteButton)})
            if (view) view->setHidden(true);
        if (_showDetailedSettingsButton) _showDetailedSettingsButton->setEnabled(true);
        if (_automaticPaperTraySelectionButton) _automaticPaperTraySelectionButton->setEnabled(true);
        // The favorites strip sits above the Save button's origin: cutting
        // the view there leaves it out of the dialog.
        if (_saveFavoriteButton) {
            if (kz::View* strip = _saveFavoriteButton->superview())
                strip->setFrameSize({strip->frame().size.width, _saveFavoriteButton->frame().origin.y});
        }
        configuringNotification(true);
        _isMyPluginPDE = true;
    } catch (...) {
        // The dialog goes on showing whatever the panel managed to set up.
    }
}

bool KemoPDEByCocoa::shouldHide() {
    _isMyPluginPDE = false;
    return true;
}

// ----------------------------------------------------------- notifications

void KemoPDEByCocoa::configuringNotification(bool on) {
    auto& center = kz::NotificationCenter::defaultCenter();
    center.removeObserver(this);
    if (!on) return;
    for (const char* name : kObservedOptions)
        center.addObserver(this, name, nullptr,
                           [this](const kz::NotificationCenter::Notification& n) { keyChangeNotification(n); });
}

void KemoPDEByCocoa::keyChangeNotification(const kz::NotificationCenter::Notification&) {
    try {
        _gatherValuesFromPane(_printOption);
        if (_isIntializedUi) {
            if (auto sample = registryValue("SamplePrintMode")) _printOption.set("SamplePrintMode", *sample);
        }
        _favoritesMenu->checkDifferenceFromCurrentFavorite(false);
    } catch (const std::exception& e) {
        logException("keyChangeNotification", e);
    }
}

std::optional<std::string> KemoPDEByCocoa::registryValue(const std::string& key) const {
    return _panePlugInMgr().getStringValueFromKey(key);
}

void KemoPDEByCocoa::setRegistryValue(const std::string& key, const std::optional<std::string>& value) {
    _panePlugInMgr().setStringValue(value, key);
}

// ------------------------------------------- what the collaborators do for it

void KemoPDEByCocoa::clickedSaveFavoriteButton(kz::Control* sender) {
    _favoriteButtons->clickedSaveFavoriteButton(sender);
}

void KemoPDEByCocoa::clickedBrowseFavoriteButton(kz::Control* sender) {
    _favoriteButtons->clickedBrowseFavoriteButton(sender);
}

void KemoPDEByCocoa::clickedDeleteFavoriteButton(kz::Control* sender) {
    _favoritesMenu->clickedDeleteFavoriteButton(sender);
}

void KemoPDEByCocoa::selectFavorite(kz::Control* sender) { _favoritesMenu->selectFavorite(sender); }

bool KemoPDEByCocoa::selectItem(kz::PopUpButton* popup, const kz::Value& representedObject) {
    return PanelFavoritesMenu::selectItem(popup, representedObject);
}

void KemoPDEByCocoa::clickedSelectPaperTraySelectionButton(kz::Control* sender) {
    _trayWindows->clickedSelectPaperTraySelectionButton(sender);
}

void KemoPDEByCocoa::automaticPapaerTraySelectionDidEnd() { _trayWindows->automaticPapaerTraySelectionDidEnd(); }

void KemoPDEByCocoa::clickedJobNameButton(kz::Control* sender) { _jobNameEditor->clickedJobNameButton(sender); }

std::optional<std::string> KemoPDEByCocoa::getDuplex() { return _hostControls->getDuplex(); }

void KemoPDEByCocoa::setDuplex(const std::optional<std::string>& duplex) { _hostControls->setDuplex(duplex); }

kz::Control* KemoPDEByCocoa::getCocoaPDEsControl(const kz::View* view, std::string_view key) {
    return PanelHostControls::getCocoaPDEsControl(view, key);
}

}  // namespace ComTORVALEKZ2R4_Plugin
