#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace kz {
class PopUpButton;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// The favorite files in the favorite folders that AppPreference names: the
// listing, the menu, writing a new one. An administrator's favorites, shared
// by every user, are offered after the user's own and never written from
// here: a user's favorite of the same name comes first wherever favorites are
// looked up by name. Here rather than in AppPreference, so
// that the preferences know nothing of the favorites' file format.
class KZ_EXPORT FavoriteFolder {
public:
    // Paths of every favorite file, folder by folder (folders created if
    // needed): the user's, then the shared ones.
    static std::vector<std::string> arrayForFavoritePath();
    // Paths of the shared favorite files (an administrator's, below
    // $XDG_CONFIG_DIRS), folder by folder.
    static std::vector<std::string> arrayForSharedFavoritePath();
    // Whether the favorite file at PATH is one of a shared folder (and so
    // not the user's to rename, re-comment or delete).
    static bool isSharedFavoritePath(const std::string& path);
    // Favorite files of one folder, by name.
    static std::vector<std::string> _pathArrayForOneFavoriteFolder(const std::string& folder);
    // Puts right what a killed run left in a favorite folder (favorites
    // under the hidden names of a rename, temporaries of a write), holding
    // the folder's lock; true when there was anything.
    static bool tidyFavoriteFolder(const std::string& folder);

    // Writes a new favorite (replacing one of the same name) into the first
    // favorite folder; its path, or nullopt when the name is not a plain file
    // name, there is no folder, or the write failed.
    static std::optional<std::string> saveFavoriteOnFavoriteDirectory(std::string_view name,
                                                                      const std::optional<std::string>& comment,
                                                                      const kz::Dictionary& content);

    // Fills the favorites pop-up: the default favorite, then the user's
    // favorites, then the shared ones (kSharedFavoriteImage).
    static void buildFavoritePopup(kz::PopUpButton& popup);

    // The image of a shared favorite's menu item: the icon the favorites
    // manager shows for favorites that are not the user's.
    static constexpr const char* kSharedFavoriteImage = "Classic";

private:
    static std::vector<std::string> _pathArrayForOneFavoriteFolder(const std::string& folder, bool tidy);
};

}  // namespace ComTORVALEKZ2R4_Plugin
