// The panel's favorites buttons: saving the current values as a new favorite
// through the save dialog, and opening the favorites manager.
#include <exception>

#include "Common/Util/AlertUtil.h"
#include "PDE/PanelFavoriteButtons.h"

#include "PDE/KemoPDEByCocoa.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/dialogs/FavoriteWindowController.h"
#include "engine/dialogs/SaveFavoriteWindowController.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

void logButtonException(const char* operation, const std::exception& e) {
    kz::Log::format("### ## exception caught in %s %s: %s", operation, exceptionName(e).c_str(),
                    exceptionMessage(e).c_str());
}

}  // namespace

void PanelFavoriteButtons::clickedSaveFavoriteButton(kz::Control*) {
    try {
        std::optional<std::string> name = _panel._favoritesMenu->currentFavoriteName();
        std::optional<std::string> comment;
        if (std::optional<std::string> path = _panel._favoritesMenu->currentFavoritePath(); path && !path->empty())
            comment = FavoriteFile(*path).comment();
        SaveFavoriteWindowController& dialog = SaveFavoriteWindowController::sharedInstance();
        if (dialog.showAsModalDialog(name, comment) != 1) return;

        _panel._gatherValuesFromPane(_panel._printOption);
        kz::Dictionary canonical = _panel._printOption;
        PrintOptionConverter::convertToCanonicalPpdKeyword(canonical, true);
        kz::Dictionary content = PrintOptionConverter::sharedInstance().toInputMgrFormat(canonical);
        if (_panel._deleteFavoriteButton) _panel._deleteFavoriteButton->setEnabled(false);
        if (content.empty()) return;

        std::optional<std::string> path =
            FavoriteFolder::saveFavoriteOnFavoriteDirectory(dialog.name(), dialog.comment(), content);
        if (!path) {
            // Not saved: the user must hear of it rather than find the menu unchanged.
            kz::Alert alert;
            alert.setMessageText(_panel.localized("Fail to save favorite file"));
            alert.addButtonWithTitle(_panel.localized("OK"));
            alert.runModal();
            return;
        }
        if (!_panel._Favorite) return;
        FavoriteFolder::buildFavoritePopup(*_panel._Favorite);
        _panel._Favorite->selectItemWithRepresentedObject(kz::Value(*path));
        if (_panel._deleteFavoriteButton) _panel._deleteFavoriteButton->setEnabled(true);
    } catch (const std::exception& e) {
        logButtonException("clickedSaveFavoriteButton", e);
    }
}

void PanelFavoriteButtons::clickedBrowseFavoriteButton(kz::Control*) {
    try {
        std::optional<std::string> remembered = _panel._favoritesMenu->currentFavoritePath();
        std::optional<std::string> profile =
            _panel._selectedProfilePath.empty() ? std::nullopt
                                                : std::optional<std::string>(_panel._selectedProfilePath);
        FavoriteWindowController& manager = FavoriteWindowController::sharedInstance();
        int code = manager.showAsModalDialog(profile, &_panel._printOption);
        if (code != 1 || !_panel._Favorite) return;
        // A favorite renamed in the manager is still the chosen one.
        if (remembered && !remembered->empty())
            if (std::optional<std::string> moved = manager.movedPath(*remembered)) remembered = moved;
        FavoriteFolder::buildFavoritePopup(*_panel._Favorite);
        if (remembered && !remembered->empty() &&
            !_panel._Favorite->selectItemWithRepresentedObject(kz::Value(*remembered)))
            _panel._Favorite->selectItemAtIndex(0);
        _panel._favoritesMenu->checkDifferenceFromCurrentFavorite(true);
    } catch (const std::exception& e) {
        logButtonException("clickedBrowseFavoriteButton", e);
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
