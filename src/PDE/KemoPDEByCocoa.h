#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "PDE/PanelFavoriteButtons.h"
#include "PDE/PanelFavoritesMenu.h"
#include "PDE/PanelHostControls.h"
#include "PDE/PanelJobName.h"
#include "PDE/PanelTrayWindows.h"
#include "engine/dialogs/PdeAutomaticPaperTraySelection.h"
#include "engine/panes/PrinterDataSource.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Value.h"
#include "platform/kit/ViewOwner.h"
#include "platform/printing/PDEHostCallback.h"
#include "platform/printing/PDEPPDChangeCapability.h"
#include "platform/printing/PDEPanel.h"
#include "platform/printing/PrintStatus.h"

namespace kz {
class Button;
class Control;
class MenuItem;
class PopUpButton;
class TextField;
class View;
class Window;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class DetailedSettingsWinController;
class FavoriteValuesCache;
class PanePlugInMgr;
class PpdFile;
class QuillUI;

// The plug-in's one panel in the print dialog. It registers its nine option
// controls with the pane plug-in manager beside the panes' controls, keeps
// the print option (main keyword -> value) they all edit, and moves it
// between the controls, the host's print settings and the host's PPD: a
// value that is a choice of the plug-in's PPD is marked in the host's PPD,
// any other value travels as an escaped custom entry of the print settings.
// It also answers the manager's printer-data queries from the host's PPD.
//
// The panel routes the settings itself and hands the rest to collaborators:
// the favorites menu and buttons, the tray windows, the job name and the
// host dialog's own controls (the Panel* classes beside it), which work on
// its outlets and print option.
//
// Made by KemoPDEPlugIn, owned by the host (shared_ptr), main thread only.
// No operation the host calls lets an exception out.
class KZ_EXPORT KemoPDEByCocoa : public kz::PDEPanel,
                                 public kz::ViewOwner,
                                 public PrinterDataSource,
                                 public std::enable_shared_from_this<KemoPDEByCocoa> {
public:
    static constexpr const char* kPanelName = "KZ Print Server";
    static constexpr const char* kPanelKind = "com.torvale.kz2.psdriver.r4_plugin.main";
    // Custom entries live under this prefix followed by the main keyword.
    static constexpr const char* kCustomEntryPrefix = "com.torvale.print.PrintSettingsTicket.";
    static constexpr const char* kViewDescription = "PDE_UI_ByCocoa";

    // Creates the panel: loads the panes, registers itself for the printer
    // data, reads every server list once, takes the printer's host name and
    // the defaults. Either argument may be missing.
    static std::shared_ptr<KemoPDEByCocoa> initWithCallback(std::shared_ptr<kz::PDEHostCallback> callback,
                                                            std::shared_ptr<kz::Bundle> bundle);
    ~KemoPDEByCocoa() override;
    KemoPDEByCocoa(const KemoPDEByCocoa&) = delete;
    KemoPDEByCocoa& operator=(const KemoPDEByCocoa&) = delete;

    // ---- what the host calls
    std::string panelName() override { return kPanelName; }
    std::string panelKind() override { return kPanelKind; }
    std::shared_ptr<kz::View> panelView() override;
    void willShow() override;
    bool shouldHide() override;
    bool restoreValuesAndReturnError(std::string* error) override;
    bool saveValuesAndReturnError(std::string* error) override;
    std::optional<kz::Dictionary> summaryInfo() override;
    std::optional<std::vector<std::string>> supportedPPDOptionKeys() override;
    void PPDOptionKeyValueDidChange(const std::optional<std::string>& mainKeyword,
                                    const std::optional<std::string>& choice) override;

    // ---- the printer data (the manager's list queries end here)
    kz::Value sendCommand(const std::string& queryName) override;

    // ---- the panel view's outlets and actions
    std::span<const Outlet> outlets() const override;
    bool connectWindowOutlet(const std::shared_ptr<kz::Window>& window) override;
    std::span<const Action> actions() const override;

    bool saveValuesAndReturnError_Fast(std::string* error);
    // A boolean as "True"/"False"; any other value as it is.
    static kz::Value _stringFromBooleanIfNeed(const kz::Value& value);

    // A custom entry's text as it was before escaping ("%", "'", ",").
    static std::string unescapeCustomEntry(std::string_view text);

    // ---- the host dialog's own controls around the panel (PanelHostControls)
    std::optional<std::string> getDuplex();
    void setDuplex(const std::optional<std::string>& duplex);
    static kz::Control* getCocoaPDEsControl(const kz::View* view, std::string_view key);

    // ---- button actions
    void clickedShowDetailedSettingsButton(kz::Control* sender);
    void clickedRevertToDefaultSettings(kz::Control* sender);
    // ---- favorites buttons (PanelFavoriteButtons)
    void clickedSaveFavoriteButton(kz::Control* sender);
    void clickedBrowseFavoriteButton(kz::Control* sender);

    // ---- the tray windows and the device lists (PanelTrayWindows)
    // Tag 0: the automatic tray window, any other tag the bypass one.
    void clickedSelectPaperTraySelectionButton(kz::Control* sender);
    void automaticPapaerTraySelectionDidEnd();
    PdeAutomaticPaperTraySelection* automaticPaperTraySelection() const {
        return _trayWindows->automaticPaperTraySelection();
    }
    PdeAutomaticPaperTraySelection* bypassPaperTraySelection() const {
        return _trayWindows->bypassPaperTraySelection();
    }

    // ---- the job name (PanelJobName)
    // "Job name...": the job name dialog over the panel's mode and name.
    void clickedJobNameButton(kz::Control* sender);
    const std::string& specificJobNameValue() const { return _specificJobNameValue; }
    const std::string& escapedJobNameValue() const { return _escapedJobNameValue; }
    const std::string& jobNameValue() const { return _jobNameValue; }

    // ---- the favorites menu (PanelFavoritesMenu)
    static constexpr long kChangingItemTag = 0x4b5a4348;  // marks the one "Change Setting" item
    // The menu itself: the chosen favorite and how the settings differ from it.
    PanelFavoritesMenu& favoritesMenu() const { return *_favoritesMenu; }
    void selectFavorite(kz::Control* sender);
    static bool selectItem(kz::PopUpButton* popup, const kz::Value& representedObject);
    void clickedDeleteFavoriteButton(kz::Control* sender);
    kz::PopUpButton* favoritePopup() const { return _Favorite.get(); }
    kz::Button* deleteFavoriteButton() const { return _deleteFavoriteButton.get(); }
    const FavoriteValuesCache* favoriteValuesCache() const { return _favoritesMenu->favoriteValuesCache(); }

    // ---- state, for hosts and tests that look on
    const kz::Dictionary& printOption() const { return _printOption; }
    const kz::Dictionary& defaultPrintOption() const { return _defaultPrintOption; }
    const std::optional<std::string>& hostName() const { return _hostName; }
    bool isIntializedUi() const { return _isIntializedUi; }
    bool isMyPluginPDE() const { return _isMyPluginPDE; }
    bool useConstraintHandling() const { return _useConstraintHandling; }

private:
    friend class PanelFavoriteButtons;
    friend class PanelFavoritesMenu;
    friend class PanelHostControls;
    friend class PanelJobName;
    friend class PanelTrayWindows;

    KemoPDEByCocoa() = default;
    // ---- panel operations (the host's calls and the settings routing)
    void _buildUi();
    void _setDefaults();
    // The host's PPD, wrapped on first use; none on a host that does not let
    // the panel mark choices.
    PpdFile* _PPD();
    // Stops observing the eight option notifications and, when `on`, observes them again.
    void configuringNotification(bool on);
    void keyChangeNotification(const kz::NotificationCenter::Notification& notification);
    void _updatePaneFromModel();
    void _restoreValuesToPane(const kz::Dictionary& printOption);
    void _gatherValuesFromPane(kz::Dictionary& printOption);
    // Where one value goes: a choice of the plug-in's PPD is marked in the
    // host's PPD (and its custom entry removed), anything else becomes the
    // custom entry while the PPD option, if there is one, keeps its default.
    void _setValueToPpdDictionary(kz::Dictionary* ppdDictionary, const std::string& mainKeyword,
                                  const std::optional<std::string>& optionKeyword);
    void _willChangePPDOptionKeyValue(const std::string& mainKeyword, const std::string& choice,
                                      kz::Dictionary* ppdDictionary);
    // Custom entries by main keyword, escaped in the print settings.
    kz::OSStatus _customTicketGetString(const std::string& mainKeyword, std::optional<std::string>* value);
    // No value removes the entry.
    kz::OSStatus _customTicketSetString(const std::string& mainKeyword, const std::optional<std::string>& value);
    // Print-settings values by full key: kParamErr without print settings,
    // kPMKeyNotFound when the key is not set.
    kz::OSStatus _ticketGetSInt32(const std::string& key, std::int32_t* value);
    kz::OSStatus _ticketGetString(const std::string& key, std::string* value);
    kz::OSStatus _ticketSetString(const std::string& key, const std::optional<std::string>& value);
    void removedObjectByGatheringPrintOption(const std::string& mainKeyword);
    // The three escapes of custom entries ("%", "'", ",").
    static std::string escapeCustomEntry(std::string_view text);
    void initialize(std::shared_ptr<kz::PDEHostCallback> callback, std::shared_ptr<kz::Bundle> bundle);
    void takeHostName();
    bool loadView();
    std::string localized(const std::string& key) const;
    void describe(const std::shared_ptr<QuillUI>& control, const kz::Dictionary& descriptions, const char* key);
    // The main control description file (the panel's nine options and the
    // tray windows'), read once.
    const kz::Dictionary& controlDescriptions();
    std::vector<std::shared_ptr<QuillUI>> ownControls() const;

    // The host's objects; print settings and PPD only on a host that lets
    // the panel mark PPD choices.
    kz::PrintSettings* _printSettings() const;
    ppd_file_t* _hostPpdFile() const;
    kz::OSStatus _restorePrintOptionToUi(kz::Dictionary* ppdDictionary);
    kz::OSStatus _gatherPrintOptionFromUi(kz::Dictionary* ppdDictionary, const kz::Dictionary* changedSince);
    bool _shouldWriteValue(const std::string& key, const std::string& value, const kz::Dictionary& old) const;
    // The manager is process-wide and may be replaced by a host; the panel
    // asks for the current one each time instead of keeping a pointer.
    static PanePlugInMgr& _panePlugInMgr();
    std::optional<std::string> registryValue(const std::string& key) const;
    void setRegistryValue(const std::string& key, const std::optional<std::string>& value);

    // The collaborators; the tray windows sit where their windows always
    // did among the members, so that they go in the same order.
    std::unique_ptr<PanelHostControls> _hostControls = std::make_unique<PanelHostControls>(*this);
    std::unique_ptr<PanelJobName> _jobNameEditor = std::make_unique<PanelJobName>(*this);
    std::unique_ptr<PanelFavoriteButtons> _favoriteButtons = std::make_unique<PanelFavoriteButtons>(*this);
    std::unique_ptr<PanelTrayWindows> _trayWindows = std::make_unique<PanelTrayWindows>(*this);

    // Outlets of the panel view.
    std::shared_ptr<kz::View> _View;
    std::shared_ptr<kz::Window> win;
    std::shared_ptr<kz::PopUpButton> _Favorite;
    std::shared_ptr<kz::TextField> _titleFavorite;
    std::shared_ptr<kz::Button> _saveFavoriteButton;
    std::shared_ptr<kz::Button> _deleteFavoriteButton;
    std::shared_ptr<kz::Button> _browseFavoriteButton;
    std::shared_ptr<kz::TextField> _jobName;
    std::shared_ptr<kz::Button> _jobNameButton;
    std::shared_ptr<kz::Button> _showDetailedSettingsButton;
    std::shared_ptr<kz::Button> _revertToDefaultSettingsButton;
    std::shared_ptr<kz::Button> _automaticPaperTraySelectionButton;
    std::shared_ptr<kz::Button> _bypassPaperTraySelectionButton;
    std::shared_ptr<QuillUI> _quill_AutoTraySettingToBypass;
    std::shared_ptr<QuillUI> _quill_DuplexMode;
    std::shared_ptr<QuillUI> _quill_PagePrintOnCenter;
    std::shared_ptr<QuillUI> _quill_StapleMode;
    std::shared_ptr<QuillUI> _quill_Punch_PunchHoles;
    std::shared_ptr<QuillUI> _quill_Fold;
    std::shared_ptr<QuillUI> _quill_OutputTray;
    std::shared_ptr<QuillUI> _quill_OffsetMode;
    std::shared_ptr<QuillUI> _quill_VLInputSlot;

    std::shared_ptr<kz::PDEHostCallback> _pdePluginCallbackObject;
    std::shared_ptr<kz::Bundle> _plugInBundle;
    DetailedSettingsWinController* _detailedSettingsWinController = nullptr;
    std::unique_ptr<PpdFile> _ppdFile;

    kz::Dictionary _defaultPrintOption;
    kz::Dictionary _printOption;
    std::optional<kz::Dictionary> _printOption_old;
    std::optional<std::string> _hostName;
    std::string _selectedProfilePath;
    std::string _specificJobNameValue = "Auto";
    std::string _escapedJobNameValue;
    std::string _jobNameValue;
    std::optional<kz::Dictionary> _controlDescriptions;
    bool _hasBypassEntry = false;
    bool _isIntializedUi = false;
    bool _isMyPluginPDE = false;
    bool _useConstraintHandling = false;
    bool _isHiddenNumCopies = false;
    bool _isHiddenDuplex = false;
    bool _isHiddenCollate = false;

    // A favorite the print settings named before the menu was there.
    std::optional<std::string> _restoredFavoritePath;
    std::unique_ptr<PanelFavoritesMenu> _favoritesMenu = std::make_unique<PanelFavoritesMenu>(*this);
};

}  // namespace ComTORVALEKZ2R4_Plugin
