// The panel's favorites menu: which favorite is chosen, its values, the
// test whether the current values still are that favorite's, the one
// "Change Setting" item that says they are not, applying a favorite,
// choosing an item and deleting a favorite.
#include <filesystem>
#include <system_error>

#include "Common/Security/EncryptUtil.h"
#include "engine/dialogs/DetailedSettingsWinController.h"
#include "PDE/PanelFavoritesMenu.h"

#include "PDE/KemoPDEByCocoa.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/favorites/FavoriteValuesCache.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Decimal.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Workspace.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Password options hold scrambled texts whose scramble changes with the
// time it was made; they are compared by what they hide.
constexpr const char* kScrambledPasswords[] = {"VLFormPassword", "VLSecurityPassword"};
constexpr const char* kPasswordKey = "paramoxide=qxlr_data";

// Whether the favorite at PATH is one the user may delete: a saved one of
// the user's own, not an administrator's shared one.
bool isDeletable(const std::optional<std::string>& path) {
    return path && !path->empty() && !FavoriteFolder::isSharedFavoritePath(*path);
}

bool isScrambledPassword(std::string_view key) {
    for (const char* k : kScrambledPasswords)
        if (key == k) return true;
    return false;
}

std::optional<std::string> textOf(const kz::Dictionary& option, std::string_view key) {
    const kz::Value* v = option.find(key);
    if (!v || v->isNull()) return std::nullopt;
    return KemoPDEByCocoa::_stringFromBooleanIfNeed(*v).stringValue();
}

// Whether two option values are the same setting: equal texts, or equal
// decimal numbers written differently (1 and 1.0).
bool sameValue(std::string_view mine, std::string_view theirs) {
    if (mine == theirs) return true;
    std::optional<kz::Decimal> a = kz::Decimal::parse(mine);
    std::optional<kz::Decimal> b = kz::Decimal::parse(theirs);
    return a && b && !a->isNaN() && *a == *b;
}

// Restores a flag however the function it guards ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : _flag(flag), _before(flag) { _flag = true; }
    ~FlagScope() { _flag = _before; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& _flag;
    bool _before;
};

}  // namespace

PanelFavoritesMenu::PanelFavoritesMenu(KemoPDEByCocoa& panel) : _panel(panel) {}

PanelFavoritesMenu::~PanelFavoritesMenu() = default;

// ------------------------------------------------------------ the menu

bool PanelFavoritesMenu::isChangingItem(const kz::MenuItem* item) const {
    return item && item->tag() == KemoPDEByCocoa::kChangingItemTag;
}

int PanelFavoritesMenu::indexOfChangePreset() const {
    if (!_panel._Favorite) return -1;
    for (int i = 0; i < _panel._Favorite->numberOfItems(); ++i)
        if (isChangingItem(_panel._Favorite->itemAtIndex(i))) return i;
    return -1;
}

int PanelFavoritesMenu::currentFavoriteIndex() const {
    if (!_panel._Favorite) return -1;
    const kz::MenuItem* selected = _panel._Favorite->selectedItem();
    if (!selected) return -1;
    // The changing item stands before the favorite's own item and carries
    // its path; searches skip it so that they land on the favorite itself.
    auto firstWhere = [&](auto&& matches) {
        for (int i = 0; i < _panel._Favorite->numberOfItems(); ++i) {
            const kz::MenuItem* item = _panel._Favorite->itemAtIndex(i);
            if (!item->isSeparatorItem() && !isChangingItem(item) && matches(*item)) return i;
        }
        return -1;
    };
    if (isChangingItem(selected)) {
        const std::string prefix = _panel.localized("Change Setting");
        std::string name = selected->title().starts_with(prefix) ? selected->title().substr(prefix.size())
                                                                 : selected->title();
        int index = firstWhere([&](const kz::MenuItem& item) { return item.title() == name; });
        // The item also carries the favorite's path, which holds when the
        // texts changed language meanwhile.
        if (index < 0)
            index = firstWhere([&](const kz::MenuItem& item) {
                return item.representedObject() == selected->representedObject();
            });
        return index;
    }
    const kz::Value& path = selected->representedObject();
    if (path.isString() && !path.string().empty())
        return firstWhere([&](const kz::MenuItem& item) { return item.representedObject() == path; });
    return firstWhere([&](const kz::MenuItem& item) { return item.title() == selected->title(); });
}

std::optional<std::string> PanelFavoritesMenu::currentFavoritePath() const {
    int index = currentFavoriteIndex();
    const kz::MenuItem* item = index >= 0 ? _panel._Favorite->itemAtIndex(index) : nullptr;
    if (!item || !item->representedObject().isString()) return std::nullopt;
    return item->representedObject().string();
}

std::optional<std::string> PanelFavoritesMenu::currentFavoriteName() const {
    int index = currentFavoriteIndex();
    const kz::MenuItem* item = index >= 0 ? _panel._Favorite->itemAtIndex(index) : nullptr;
    if (!item) return std::nullopt;
    return item->title();
}

bool PanelFavoritesMenu::selectItem(kz::PopUpButton* popup, const kz::Value& representedObject) {
    if (!popup || representedObject.isNull()) return false;
    for (int i = 0; i < popup->numberOfItems(); ++i) {
        const kz::MenuItem* item = popup->itemAtIndex(i);
        if (item->tag() != KemoPDEByCocoa::kChangingItemTag && item->representedObject() == representedObject)
            return popup->selectItemAtIndex(i);
    }
    return false;
}

// ------------------------------------------------------------ the values

std::optional<kz::Dictionary> PanelFavoritesMenu::currentFavoriteDictionary(const kz::Dictionary& printOption) {
    if (!_panel._Favorite) return std::nullopt;
    std::optional<std::string> path = currentFavoritePath();
    if (path && !path->empty()) {
        if (!_favoriteValues) _favoriteValues = std::make_unique<FavoriteValuesCache>();
        auto values = _favoriteValues->valuesOfFile(*path);
        if (!values) return std::nullopt;
        return values->ppdKeywords;
    }
    // The default favorite is the values it is compared with.
    kz::Dictionary canonical = printOption;
    PrintOptionConverter::convertToCanonicalPpdKeyword(canonical, true);
    return canonical;
}

bool PanelFavoritesMenu::isDifferFromCurrentFavorite(const kz::Dictionary& printOption) {
    if (!_panel._Favorite) return false;
    std::optional<std::string> path = currentFavoritePath();
    // The default favorite is, by its nature, whatever the values are; its
    // conversion there and back is not worth making after every change.
    if (!path || path->empty()) return false;
    if (!_favoriteValues) _favoriteValues = std::make_unique<FavoriteValuesCache>();
    std::shared_ptr<const FavoriteValuesCache::Values> values = _favoriteValues->valuesOfFile(*path);
    if (!values) return false;
    if (_favoriteMemoFor.get() != values.get()) {
        _favoriteMemo.clear();
        _lastDifferingKey.clear();
        _favoriteMemoFor = values;
    }
    // Whether the print option has another value than the favorite's for
    // the key. Texts are compared in place, since this runs after every
    // change; texts that differ yet are one number ("0" and "0.00") come
    // back each time, so their answer is kept with the text it was for.
    auto differsAt = [&](const std::string& key, const kz::Value& stored) {
        const kz::Value* value = printOption.find(key);
        if (!value || value->isNull() || stored.isNull()) return false;
        if (!value->isString() && !value->isBoolean()) return false;
        std::string_view current = value->isBoolean() ? (value->boolValue() ? "True" : "False")
                                                      : std::string_view(value->string());
        std::string favoriteText;
        std::string_view favorite;
        if (stored.isString()) {
            favorite = stored.string();
        } else {
            favoriteText = KemoPDEByCocoa::_stringFromBooleanIfNeed(stored).stringValue();
            favorite = favoriteText;
        }
        if (current == favorite) return false;
        if (isScrambledPassword(key)) {
            std::string a = decryptString(kPasswordKey, current).value_or(std::string(current));
            std::string b = decryptString(kPasswordKey, favorite).value_or(std::string(favorite));
            return !sameValue(a, b);
        }
        auto& [memoText, memoSame] = _favoriteMemo[key];
        if (memoText != current || memoText.empty()) {
            memoText = current;
            memoSame = sameValue(current, favorite);
        }
        return !memoSame;
    };
    // The option that differed last time most often still does: asked
    // first, it spares the walk over every key.
    if (!_lastDifferingKey.empty())
        if (const kz::Value* stored = values->internal.find(_lastDifferingKey))
            if (differsAt(_lastDifferingKey, *stored)) return true;
    for (const auto& [key, stored] : values->internal) {
        if (differsAt(key, stored)) {
            _lastDifferingKey = key;
            return true;
        }
    }
    _lastDifferingKey.clear();
    return false;
}

// ------------------------------------------------------ the changing item

int PanelFavoritesMenu::insertChangingPreset(std::string* title) {
    if (!_panel._Favorite || indexOfChangePreset() >= 0) return -1;
    int index = currentFavoriteIndex();
    if (index < 0) return -1;
    std::optional<std::string> name = currentFavoriteName();
    std::optional<std::string> path = currentFavoritePath();
    if (!name || name->empty() || !path || path->empty()) return index;
    std::string text = _panel.localized("Change Setting") + *name;
    if (title) *title = text;
    auto item = std::make_shared<kz::MenuItem>(text);
    item->setRepresentedObject(kz::Value(*path));
    item->setTag(KemoPDEByCocoa::kChangingItemTag);
    // Looking an icon up searches the icon themes; its name is the same all along.
    static const std::string icon = [] {
        auto image = kz::Workspace::shared().iconForFileType("'unfs'");
        return image ? image->name() : std::string();
    }();
    if (!icon.empty()) item->setImageName(icon);
    _panel._Favorite->menu().insertItem(item, index);
    return index;
}

void PanelFavoritesMenu::removeChangeingPreset() {
    int index = indexOfChangePreset();
    if (index >= 0) _panel._Favorite->removeItemAtIndex(index);
}

void PanelFavoritesMenu::removeChangedPresetTitleFromFavoritePopup() {
    if (!_panel._Favorite) return;
    int selected = _panel._Favorite->indexOfSelectedItem();
    int removed = indexOfChangePreset();
    if (removed < 0) return;
    _panel._Favorite->removeItemAtIndex(removed);
    if (removed < selected)
        _panel._Favorite->selectItemAtIndex(selected - 1);
    else if (removed == selected && removed < _panel._Favorite->numberOfItems())
        _panel._Favorite->selectItemAtIndex(removed);  // the favorite's own item, moved up
}

void PanelFavoritesMenu::checkDifferenceFromCurrentFavorite(bool reformat) {
    // Applying a favorite restores controls, whose announcements come back
    // here; the favorite's own values are no change to compare.
    if (_isReflectingFavorite || !_panel._Favorite) return;
    // Only a reformatting needs a copy of the values.
    std::optional<kz::Dictionary> reformatted;
    if (reformat && _panel._detailedSettingsWinController) {
        reformatted = _panel._printOption;
        kz::Dictionary& values = *reformatted;
        PanePlugInMgr& manager = KemoPDEByCocoa::_panePlugInMgr();
        manager.setDelegate(this);
        try {
            _panel._detailedSettingsWinController->reformatPrintOption(values);
        } catch (...) {
            manager.setDelegate(nullptr);
            throw;
        }
        manager.setDelegate(nullptr);
    }
    if (isDifferFromCurrentFavorite(reformatted ? *reformatted : _panel._printOption)) {
        std::string title;
        int index = insertChangingPreset(&title);
        if (index >= 0) {
            if (!title.empty()) _backupFavoriteName = title;
            _panel._Favorite->selectItemAtIndex(index);
        }
        if (_panel._deleteFavoriteButton) _panel._deleteFavoriteButton->setEnabled(false);
        return;
    }
    removeChangedPresetTitleFromFavoritePopup();
    std::optional<std::string> path = currentFavoritePath();
    const bool saved = path && !path->empty();
    // Only a saved favorite is applied again: the default favorite's values
    // are the defaults, and applying them would undo every change the user
    // makes while it is chosen. A favorite whose every value the print
    // option already holds, as it stands, has nothing to apply (applying
    // restores every pane).
    auto wouldChange = [&] {
        auto values = _favoriteValues ? _favoriteValues->valuesOfFile(*path) : nullptr;
        if (!values) return false;
        for (const auto& [key, value] : values->internal) {
            const kz::Value* current = _panel._printOption.find(key);
            if (!current || KemoPDEByCocoa::_stringFromBooleanIfNeed(*current) !=
                                KemoPDEByCocoa::_stringFromBooleanIfNeed(value))
                return true;
        }
        return false;
    };
    if (saved && wouldChange()) reflectCurrentFavoriteToUi();
    if (_panel._deleteFavoriteButton) _panel._deleteFavoriteButton->setEnabled(isDeletable(path));
}

// ------------------------------------------------------------ applying

void PanelFavoritesMenu::reflectCurrentFavoriteToUi() {
    std::optional<std::string> path = currentFavoritePath();
    kz::Dictionary internal;
    if (path && !path->empty()) {
        if (!_favoriteValues) _favoriteValues = std::make_unique<FavoriteValuesCache>();
        auto values = _favoriteValues->valuesOfFile(*path);
        if (!values) return;
        internal = values->internal;
    } else {
        // The default favorite: every default, the panel's own included.
        std::optional<kz::Dictionary> values = currentFavoriteDictionary(_panel._defaultPrintOption);
        if (!values) return;
        internal = std::move(*values);
        PrintOptionConverter::convertToInternalPpdKeyword(internal);
    }
    if (internal.empty()) return;
    FlagScope reflecting(_isReflectingFavorite);
    for (const auto& [key, value] : internal) _panel._printOption.set(key, value);
    _panel._restoreValuesToPane(_panel._defaultPrintOption);
    KemoPDEByCocoa::_panePlugInMgr().restorePrintOptionValues(&_panel._printOption);
    _panel._hostControls->setCopies(textOf(_panel._printOption, "NumCopies"));
    _panel._hostControls->setVLInputSlot(textOf(_panel._printOption, "VLInputSlot"));
    if (_panel._bypassPaperTraySelectionButton) {
        std::optional<std::string> toBypass = textOf(_panel._printOption, "AutoTraySettingToBypass");
        if (toBypass == "1" || toBypass == "True") _panel._bypassPaperTraySelectionButton->setEnabled(false);
        if (toBypass == "0" || toBypass == "False") _panel._bypassPaperTraySelectionButton->setEnabled(true);
    }
}

// ------------------------------------------------------ the user's actions

void PanelFavoritesMenu::selectFavorite(kz::Control*) {
    try {
        if (!_panel._Favorite) return;
        if (!_panel._Favorite->selectedItem()) _panel._Favorite->selectItemAtIndex(0);
        const kz::MenuItem* selected = _panel._Favorite->selectedItem();
        if (!selected) return;
        _selectedFavorite = selected->title();
        const bool changing = isChangingItem(selected);
        std::optional<std::string> path = currentFavoritePath();
        if (_panel._deleteFavoriteButton) _panel._deleteFavoriteButton->setEnabled(isDeletable(path) && !changing);
        if (_panel._isIntializedUi) _backupFavoriteName = _selectedFavorite;
        // The changing item stands for the values as they are.
        if (changing) return;
        removeChangedPresetTitleFromFavoritePopup();
        reflectCurrentFavoriteToUi();
        std::optional<std::string> collate = textOf(_panel._printOption, "Collate");
        if (collate == "1" || collate == "True") _panel._hostControls->setCollate(true);
        if (collate == "0" || collate == "False") _panel._hostControls->setCollate(false);
        _panel.setRegistryValue("DuplexMode", textOf(_panel._printOption, "DuplexMode"));
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in selectFavorite: %s", e.what());
    }
}

void PanelFavoritesMenu::selectPrintOption(kz::Control*) { checkDifferenceFromCurrentFavorite(true); }

void PanelFavoritesMenu::selectRestoredFavorite(const std::string& path) {
    // The menu is filled when the UI is built; a favorite named before that
    // waits for it.
    if (!_panel._isIntializedUi || !_panel._Favorite) {
        _panel._restoredFavoritePath = path;
        return;
    }
    _panel._restoredFavoritePath.reset();
    // The print settings hold the values; the favorite is only chosen again
    // and compared with them, so changes made after choosing it survive.
    // A changing item left from the values before belongs to them.
    removeChangeingPreset();
    if (!selectItem(_panel._Favorite.get(), kz::Value(path))) return;
    _selectedFavorite = _backupFavoriteName = _panel._Favorite->titleOfSelectedItem();
    if (_panel._deleteFavoriteButton) _panel._deleteFavoriteButton->setEnabled(isDeletable(path));
}

void PanelFavoritesMenu::clickedDeleteFavoriteButton(kz::Control*) {
    try {
        // Only a saved favorite has a file to delete; nothing to ask about.
        std::optional<std::string> path = currentFavoritePath();
        if (!_panel._Favorite || !isDeletable(path)) return;
        kz::Alert alert;
        alert.setMessageText(_panel.localized("Warning"));
        alert.setInformativeText(_panel.localized("fmtDeleteSelectionFavorite"));
        alert.addButtonWithTitle(_panel.localized("Yes"));
        alert.addButtonWithTitle(_panel.localized("No"));
        if (alert.runModal() != 1000) return;
        std::error_code error;
        if (!std::filesystem::remove(*path, error)) {
            kz::Log::format("### ## fail to remove \"%s\" (%s)", path->c_str(),
                            error ? error.message().c_str() : "not found");
            // A file that is gone already (deleted elsewhere meanwhile) is
            // what was asked for; only a file that stays keeps its item.
            std::error_code ignored;
            const auto left = std::filesystem::symlink_status(*path, ignored).type();
            if (error || left != std::filesystem::file_type::not_found) return;
        }
        // Neither the favorite's item nor a changing item for it may stay
        // behind pointing at a file that is gone.
        removeChangeingPreset();
        if (int own = _panel._Favorite->indexOfItemWithRepresentedObject(kz::Value(*path)); own >= 0)
            _panel._Favorite->removeItemAtIndex(own);
        if (_panel._Favorite->numberOfItems() == 2 && _panel._Favorite->itemAtIndex(1)->isSeparatorItem())
            _panel._Favorite->removeItemAtIndex(1);
        _panel._Favorite->selectItemAtIndex(0);
        _selectedFavorite = _backupFavoriteName = _panel._Favorite->titleOfSelectedItem();
        _panel._restoreValuesToPane(_panel._defaultPrintOption);
        _panel._gatherValuesFromPane(_panel._printOption);
        if (_panel._deleteFavoriteButton) _panel._deleteFavoriteButton->setEnabled(false);
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in clickedDeleteFavoriteButton: %s", e.what());
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
