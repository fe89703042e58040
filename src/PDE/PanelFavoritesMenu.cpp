// The panel's favorites menu: which favorite is chosen, its values, the
// test whether the current values still are that favorite's, the one
// "Change Setting" item that says they are not, applying a favorite,
// choosing an item and deleting a favorite.
#include <filesystem>
#include <system_error>

#include "Common/Util/EncryptUtil.h"
#include "PDE/DetailedSettingsWinController.h"
#include "PDE/KemoPDEByCocoa.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteValuesCache.h"
#include "engine/panes/PanePlugInMgr.h"
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

// ------------------------------------------------------------ the menu

bool KemoPDEByCocoa::isChangingItem(const kz::MenuItem* item) const {
    return item && item->tag() == kChangingItemTag;
}

int KemoPDEByCocoa::_indexOfChangePreset() const {
    if (!_Favorite) return -1;
    for (int i = 0; i < _Favorite->numberOfItems(); ++i)
        if (isChangingItem(_Favorite->itemAtIndex(i))) return i;
    return -1;
}

int KemoPDEByCocoa::_currentFavoriteIndex() const {
    if (!_Favorite) return -1;
    const kz::MenuItem* selected = _Favorite->selectedItem();
    if (!selected) return -1;
    // The changing item stands before the favorite's own item and carries
    // its path; searches skip it so that they land on the favorite itself.
    auto firstWhere = [&](auto&& matches) {
        for (int i = 0; i < _Favorite->numberOfItems(); ++i) {
            const kz::MenuItem* item = _Favorite->itemAtIndex(i);
            if (!item->isSeparatorItem() && !isChangingItem(item) && matches(*item)) return i;
        }
        return -1;
    };
    if (isChangingItem(selected)) {
        const std::string prefix = localized("Change Setting");
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

std::optional<std::string> KemoPDEByCocoa::_currentFavoritePath() const {
    int index = _currentFavoriteIndex();
    const kz::MenuItem* item = index >= 0 ? _Favorite->itemAtIndex(index) : nullptr;
    if (!item || !item->representedObject().isString()) return std::nullopt;
    return item->representedObject().string();
}

std::optional<std::string> KemoPDEByCocoa::_currentFavoriteName() const {
    int index = _currentFavoriteIndex();
    const kz::MenuItem* item = index >= 0 ? _Favorite->itemAtIndex(index) : nullptr;
    if (!item) return std::nullopt;
    return item->title();
}

bool KemoPDEByCocoa::selectItem(kz::PopUpButton* popup, const kz::Value& representedObject) {
    if (!popup || representedObject.isNull()) return false;
    for (int i = 0; i < popup->numberOfItems(); ++i) {
        const kz::MenuItem* item = popup->itemAtIndex(i);
        if (item->tag() != kChangingItemTag && item->representedObject() == representedObject)
            return popup->selectItemAtIndex(i);
    }
    return false;
}

// ------------------------------------------------------------ the values

std::optional<kz::Dictionary> KemoPDEByCocoa::_currentFavoriteDictionary(const kz::Dictionary& printOption) {
    if (!_Favorite) return std::nullopt;
    std::optional<std::string> path = _currentFavoritePath();
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

bool KemoPDEByCocoa::_isDifferFromCurrentFavorite(const kz::Dictionary& printOption) {
    if (!_Favorite) return false;
    std::optional<std::string> path = _currentFavoritePath();
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
            favoriteText = _stringFromBooleanIfNeed(stored).stringValue();
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

int KemoPDEByCocoa::_insertChangingPreset(std::string* title) {
    if (!_Favorite || _indexOfChangePreset() >= 0) return -1;
    int index = _currentFavoriteIndex();
    if (index < 0) return -1;
    std::optional<std::string> name = _currentFavoriteName();
    std::optional<std::string> path = _currentFavoritePath();
    if (!name || name->empty() || !path || path->empty()) return index;
    std::string text = localized("Change Setting") + *name;
    if (title) *title = text;
    auto item = std::make_shared<kz::MenuItem>(text);
    item->setRepresentedObject(kz::Value(*path));
    item->setTag(kChangingItemTag);
    // Looking an icon up searches the icon themes; its name is the same all along.
    static const std::string icon = [] {
        auto image = kz::Workspace::shared().iconForFileType("'unfs'");
        return image ? image->name() : std::string();
    }();
    if (!icon.empty()) item->setImageName(icon);
    _Favorite->menu().insertItem(item, index);
    return index;
}

void KemoPDEByCocoa::_removeChangeingPreset() {
    int index = _indexOfChangePreset();
    if (index >= 0) _Favorite->removeItemAtIndex(index);
}

void KemoPDEByCocoa::_removeChangedPresetTitleFromFavoritePopup() {
    if (!_Favorite) return;
    int selected = _Favorite->indexOfSelectedItem();
    int removed = _indexOfChangePreset();
    if (removed < 0) return;
    _Favorite->removeItemAtIndex(removed);
    if (removed < selected)
        _Favorite->selectItemAtIndex(selected - 1);
    else if (removed == selected && removed < _Favorite->numberOfItems())
        _Favorite->selectItemAtIndex(removed);  // the favorite's own item, moved up
}

void KemoPDEByCocoa::_checkDifferenceFromCurrentFavorite(bool reformat) {
    // Applying a favorite restores controls, whose announcements come back
    // here; the favorite's own values are no change to compare.
    if (_isReflectingFavorite || !_Favorite) return;
    // Only a reformatting needs a copy of the values.
    std::optional<kz::Dictionary> reformatted;
    if (reformat && _detailedSettingsWinController) {
        reformatted = _printOption;
        kz::Dictionary& values = *reformatted;
        PanePlugInMgr& manager = _panePlugInMgr();
        manager.setDelegate(this);
        try {
            _detailedSettingsWinController->reformatPrintOption(values);
        } catch (...) {
            manager.setDelegate(nullptr);
            throw;
        }
        manager.setDelegate(nullptr);
    }
    if (_isDifferFromCurrentFavorite(reformatted ? *reformatted : _printOption)) {
        std::string title;
        int index = _insertChangingPreset(&title);
        if (index >= 0) {
            if (!title.empty()) _backupFavoriteName = title;
            _Favorite->selectItemAtIndex(index);
        }
        if (_deleteFavoriteButton) _deleteFavoriteButton->setEnabled(false);
        return;
    }
    _removeChangedPresetTitleFromFavoritePopup();
    std::optional<std::string> path = _currentFavoritePath();
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
            const kz::Value* current = _printOption.find(key);
            if (!current || _stringFromBooleanIfNeed(*current) != _stringFromBooleanIfNeed(value)) return true;
        }
        return false;
    };
    if (saved && wouldChange()) _reflectCurrentFavoriteToUi();
    if (_deleteFavoriteButton) _deleteFavoriteButton->setEnabled(saved);
}

// ------------------------------------------------------------ applying

void KemoPDEByCocoa::_reflectCurrentFavoriteToUi() {
    std::optional<std::string> path = _currentFavoritePath();
    kz::Dictionary internal;
    if (path && !path->empty()) {
        if (!_favoriteValues) _favoriteValues = std::make_unique<FavoriteValuesCache>();
        auto values = _favoriteValues->valuesOfFile(*path);
        if (!values) return;
        internal = values->internal;
    } else {
        // The default favorite: every default, the panel's own included.
        std::optional<kz::Dictionary> values = _currentFavoriteDictionary(_defaultPrintOption);
        if (!values) return;
        internal = std::move(*values);
        PrintOptionConverter::convertToInternalPpdKeyword(internal);
    }
    if (internal.empty()) return;
    FlagScope reflecting(_isReflectingFavorite);
    for (const auto& [key, value] : internal) _printOption.set(key, value);
    _restoreValuesToPane(_defaultPrintOption);
    _panePlugInMgr().restorePrintOptionValues(&_printOption);
    setCopies(textOf(_printOption, "NumCopies"));
    setVLInputSlot(textOf(_printOption, "VLInputSlot"));
    if (_bypassPaperTraySelectionButton) {
        std::optional<std::string> toBypass = textOf(_printOption, "AutoTraySettingToBypass");
        if (toBypass == "1" || toBypass == "True") _bypassPaperTraySelectionButton->setEnabled(false);
        if (toBypass == "0" || toBypass == "False") _bypassPaperTraySelectionButton->setEnabled(true);
    }
}

// ------------------------------------------------------ the user's actions

void KemoPDEByCocoa::selectFavorite(kz::Control*) {
    try {
        if (!_Favorite) return;
        if (!_Favorite->selectedItem()) _Favorite->selectItemAtIndex(0);
        const kz::MenuItem* selected = _Favorite->selectedItem();
        if (!selected) return;
        _selectedFavorite = selected->title();
        const bool changing = isChangingItem(selected);
        std::optional<std::string> path = _currentFavoritePath();
        if (_deleteFavoriteButton) _deleteFavoriteButton->setEnabled(path && !path->empty() && !changing);
        if (_isIntializedUi) _backupFavoriteName = _selectedFavorite;
        // The changing item stands for the values as they are.
        if (changing) return;
        _removeChangedPresetTitleFromFavoritePopup();
        _reflectCurrentFavoriteToUi();
        std::optional<std::string> collate = textOf(_printOption, "Collate");
        if (collate == "1" || collate == "True") setCollate(true);
        if (collate == "0" || collate == "False") setCollate(false);
        setRegistryValue("DuplexMode", textOf(_printOption, "DuplexMode"));
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in selectFavorite: %s", e.what());
    }
}

void KemoPDEByCocoa::_selectPrintOption(kz::Control*) { _checkDifferenceFromCurrentFavorite(true); }

void KemoPDEByCocoa::_selectRestoredFavorite(const std::string& path) {
    // The menu is filled when the UI is built; a favorite named before that
    // waits for it.
    if (!_isIntializedUi || !_Favorite) {
        _restoredFavoritePath = path;
        return;
    }
    _restoredFavoritePath.reset();
    // The print settings hold the values; the favorite is only chosen again
    // and compared with them, so changes made after choosing it survive.
    // A changing item left from the values before belongs to them.
    _removeChangeingPreset();
    if (!selectItem(_Favorite.get(), kz::Value(path))) return;
    _selectedFavorite = _backupFavoriteName = _Favorite->titleOfSelectedItem();
    if (_deleteFavoriteButton) _deleteFavoriteButton->setEnabled(true);
}

void KemoPDEByCocoa::clickedDeleteFavoriteButton(kz::Control*) {
    try {
        // Only a saved favorite has a file to delete; nothing to ask about.
        std::optional<std::string> path = _currentFavoritePath();
        if (!_Favorite || !path || path->empty()) return;
        kz::Alert alert;
        alert.setMessageText(localized("Warning"));
        alert.setInformativeText(localized("fmtDeleteSelectionFavorite"));
        alert.addButtonWithTitle(localized("Yes"));
        alert.addButtonWithTitle(localized("No"));
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
        _removeChangeingPreset();
        if (int own = _Favorite->indexOfItemWithRepresentedObject(kz::Value(*path)); own >= 0)
            _Favorite->removeItemAtIndex(own);
        if (_Favorite->numberOfItems() == 2 && _Favorite->itemAtIndex(1)->isSeparatorItem())
            _Favorite->removeItemAtIndex(1);
        _Favorite->selectItemAtIndex(0);
        _selectedFavorite = _backupFavoriteName = _Favorite->titleOfSelectedItem();
        _restoreValuesToPane(_defaultPrintOption);
        _gatherValuesFromPane(_printOption);
        if (_deleteFavoriteButton) _deleteFavoriteButton->setEnabled(false);
    } catch (const std::exception& e) {
        kz::Log::format("### ## exception caught in clickedDeleteFavoriteButton: %s", e.what());
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
