// The panel's favorites buttons: saving the current values as a new favorite
// through the save dialog, and opening the favorites manager.
#include <exception>

#include "Common/Util/AlertUtil.h"
#include "PDE/KemoPDEByCocoa.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/favorites/FavoriteWindowController.h"
#include "engine/favorites/SaveFavoriteWindowController.h"
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

void KemoPDEByCocoa::clickedSaveFavoriteButton(kz::Control*) {
    try {
        std::optional<std::string> name = _currentFavoriteName();
        std::optional<std::string> comment;
        if (std::optional<std::string> path = _currentFavoritePath(); path && !path->empty())
            comment = FavoriteFile(*path).comment();
        SaveFavoriteWindowController& dialog = SaveFavoriteWindowController::sharedInstance();
        if (dialog.showAsModalDialog(name, comment) != 1) return;

        _gatherValuesFromPane(_printOption);
        kz::Dictionary canonical = _printOption;
        PrintOptionConverter::convertToCanonicalPpdKeyword(canonical, true);
        kz::Dictionary content = PrintOptionConverter::sharedInstance().toInputMgrFormat(canonical);
        if (_deleteFavoriteButton) _deleteFavoriteButton->setEnabled(false);
        if (content.empty()) return;

        AppPreference& preferences = AppPreference::sharedInstance();
        std::optional<std::string> path =
            preferences.saveFavoriteOnFavoriteDirectory(dialog.name(), dialog.comment(), content);
        if (!path) {
            // Not saved: the user must hear of it rather than find the menu unchanged.
            kz::Alert alert;
            alert.setMessageText(localized("Fail to save favorite file"));
            alert.addButtonWithTitle(localized("OK"));
            alert.runModal();
            return;
        }
        if (!_Favorite) return;
        preferences.buildFavoritePopup(*_Favorite);
        _Favorite->selectItemWithRepresentedObject(kz::Value(*path));
        if (_deleteFavoriteButton) _deleteFavoriteButton->setEnabled(true);
    } catch (const std::exception& e) {
        logButtonException("clickedSaveFavoriteButton", e);
    }
}

void KemoPDEByCocoa::clickedBrowseFavoriteButton(kz::Control*) {
    try {
        std::optional<std::string> remembered = _currentFavoritePath();
        std::optional<std::string> profile =
            _selectedProfilePath.empty() ? std::nullopt : std::optional<std::string>(_selectedProfilePath);
        FavoriteWindowController& manager = FavoriteWindowController::sharedInstance();
        int code = manager.showAsModalDialog(profile, &_printOption);
        if (code != 1 || !_Favorite) return;
        // A favorite renamed in the manager is still the chosen one.
        if (remembered && !remembered->empty())
            if (std::optional<std::string> moved = manager.movedPath(*remembered)) remembered = moved;
        AppPreference::sharedInstance().buildFavoritePopup(*_Favorite);
        if (remembered && !remembered->empty() &&
            !_Favorite->selectItemWithRepresentedObject(kz::Value(*remembered)))
            _Favorite->selectItemAtIndex(0);
        _checkDifferenceFromCurrentFavorite(true);
    } catch (const std::exception& e) {
        logButtonException("clickedBrowseFavoriteButton", e);
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
