#pragma once

#include <iosfwd>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/kit/View.h"

namespace kz {
class Button;
class PopUpButton;
}  // namespace kz

namespace kzpde {

// The panel's favorites menu as a user meets it: the pop-up whose action is
// "selectFavorite:" and the Delete button ("clickedDeleteFavoriteButton:"),
// found in the panel's view. The shown panel keeps the menu hidden; a
// choice shows it for the moment the user takes to choose.
class FavoritesMenu {
public:
    explicit FavoritesMenu(kz::View& panelView);

    bool exists() const { return _popup != nullptr; }
    // Chooses the item titled NAME as a user would (the menu's own action
    // runs); false when no item has that title or the menu refused it.
    bool choose(const std::string& name);

    // {"items": [titles in menu order, "" for a separator], "selected":
    // index or -1, "deleteEnabled": bool}, and "shared": [indexes of the
    // administrator's favorites] when the menu has any.
    kz::Value report() const;
    static void writeText(const kz::Value& report, std::ostream& out);

private:
    kz::PopUpButton* _popup = nullptr;
    kz::Button* _delete = nullptr;
};

}  // namespace kzpde
