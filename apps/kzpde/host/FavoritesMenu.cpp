#include "host/FavoritesMenu.h"

#include <algorithm>
#include <ostream>
#include <vector>

#include "engine/favorites/FavoriteFolder.h"
#include "host/UserActions.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"

namespace kzpde {

FavoritesMenu::FavoritesMenu(kz::View& panelView)
    : _popup(withAction<kz::PopUpButton>(panelView, "selectFavorite:")),
      _delete(withAction<kz::Button>(panelView, "clickedDeleteFavoriteButton:")) {}

bool FavoritesMenu::choose(const std::string& name) {
    if (!_popup) return false;
    for (int i = 0; i < _popup->numberOfItems(); ++i) {
        const kz::MenuItem* item = _popup->itemAtIndex(i);
        if (item->isSeparatorItem() || item->title() != name) continue;
        const bool hidden = _popup->isHidden();
        _popup->setHidden(false);
        const bool chosen = _popup->chooseItemAtIndex(i);
        _popup->setHidden(hidden);
        return chosen;
    }
    return false;
}

kz::Value FavoritesMenu::report() const {
    kz::Array items, shared;
    if (_popup)
        for (int i = 0; i < _popup->numberOfItems(); ++i) {
            const kz::MenuItem* item = _popup->itemAtIndex(i);
            items.emplace_back(item->isSeparatorItem() ? std::string() : item->title());
            const kz::Value& path = item->representedObject();
            if (path.isString() && !path.string().empty() && ComTORVALEKZ2R4_Plugin::FavoriteFolder::isSharedFavoritePath(path.string()))
                shared.emplace_back(static_cast<long long>(i));
        }
    kz::Dictionary out;
    out.set("items", kz::Value(std::move(items)));
    // Only a menu with an administrator's favorites says which they are.
    if (!shared.empty()) out.set("shared", kz::Value(std::move(shared)));
    out.set("selected", kz::Value(_popup ? _popup->indexOfSelectedItem() : -1));
    out.set("deleteEnabled", kz::Value(_delete != nullptr && _delete->isEnabled()));
    return kz::Value(std::move(out));
}

void FavoritesMenu::writeText(const kz::Value& report, std::ostream& out) {
    const kz::Dictionary& menu = report.dictionary();
    const long long selected = menu.get("selected").integerValue();
    out << "favorites:\n";
    std::vector<long long> shared;
    if (const kz::Value* marked = menu.find("shared"))
        for (const kz::Value& index : marked->array()) shared.push_back(index.integerValue());
    long long index = 0;
    for (const kz::Value& item : menu.get("items").array()) {
        if (item.string().empty())
            out << "    ----\n";
        else
            out << (index == selected ? "  * " : "    ") << item.string()
                << (std::find(shared.begin(), shared.end(), index) != shared.end() ? " (shared)" : "") << "\n";
        ++index;
    }
    out << "  delete: " << (menu.get("deleteEnabled").boolValue() ? "enabled" : "disabled") << "\n";
}

}  // namespace kzpde
