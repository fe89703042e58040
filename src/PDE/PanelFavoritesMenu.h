#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

namespace kz {
class Control;
class MenuItem;
class PopUpButton;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

class FavoriteValuesCache;
class KemoPDEByCocoa;

// The panel's favorites menu: which favorite is chosen, its values, the test
// whether the current values still are that favorite's, the one "Change
// Setting" item that says they are not, applying a favorite, choosing an
// item and deleting a favorite. It works on the panel's menu outlet and
// print option and keeps the menu's own state.
class PanelFavoritesMenu {
public:
    explicit PanelFavoritesMenu(KemoPDEByCocoa& panel);
    ~PanelFavoritesMenu();
    PanelFavoritesMenu(const PanelFavoritesMenu&) = delete;
    PanelFavoritesMenu& operator=(const PanelFavoritesMenu&) = delete;

    // The chosen favorite's path and title.
    std::optional<std::string> currentFavoritePath() const;
    std::optional<std::string> currentFavoriteName() const;
    bool isDifferFromCurrentFavorite(const kz::Dictionary& printOption);
    // Inserts or removes the "Change Setting" item after the values changed.
    void checkDifferenceFromCurrentFavorite(bool reformat);
    void selectFavorite(kz::Control* sender);
    static bool selectItem(kz::PopUpButton* popup, const kz::Value& representedObject);
    void selectPrintOption(kz::Control* sender);
    // Chooses the favorite that the print settings name, without applying
    // it (the settings hold the values); waits for the menu if need be.
    void selectRestoredFavorite(const std::string& path);
    void clickedDeleteFavoriteButton(kz::Control* sender);
    const FavoriteValuesCache* favoriteValuesCache() const { return _favoriteValues.get(); }

private:
    bool isChangingItem(const kz::MenuItem* item) const;
    // The chosen favorite's own item (the item a changing item stands for),
    // -1 without a menu or a selection.
    int currentFavoriteIndex() const;
    // The chosen favorite's values in PPD keywords; for the default
    // favorite, `printOption` itself in canonical PPD keywords.
    std::optional<kz::Dictionary> currentFavoriteDictionary(const kz::Dictionary& printOption);
    int insertChangingPreset(std::string* title);
    int indexOfChangePreset() const;
    void removeChangeingPreset();
    void removeChangedPresetTitleFromFavoritePopup();
    void reflectCurrentFavoriteToUi();

    KemoPDEByCocoa& _panel;
    std::optional<std::string> _selectedFavorite;
    std::optional<std::string> _backupFavoriteName;
    std::optional<kz::Dictionary> _theBackupFavoriteDictionary;
    std::unique_ptr<FavoriteValuesCache> _favoriteValues;
    // Per key of the favorite: the last current text compared and whether
    // it was the favorite's value (numbers written differently).
    std::unordered_map<std::string, std::pair<std::string, bool>> _favoriteMemo;
    // The favorite values the memo is for, held so that no other values
    // can take their address.
    std::shared_ptr<const void> _favoriteMemoFor;
    std::string _lastDifferingKey;
    bool _isReflectingFavorite = false;
};

}  // namespace ComTORVALEKZ2R4_Plugin
