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
// listing, the menu, writing a new one. Here rather than in AppPreference, so
// that the preferences know nothing of the favorites' file format.
class KZ_EXPORT FavoriteFolder {
public:
    // Paths of every favorite file, folder by folder (folders created if needed).
    static std::vector<std::string> arrayForFavoritePath();
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

    // Fills the favorites pop-up: the default favorite, then every favorite file.
    static void buildFavoritePopup(kz::PopUpButton& popup);

private:
    static std::vector<std::string> _pathArrayForOneFavoriteFolder(const std::string& folder, bool tidy);
};

}  // namespace ComTORVALEKZ2R4_Plugin
