#include "engine/favorites/FavoriteFolder.h"

#include <algorithm>
#include <filesystem>

#include "Common/Util/FileUtil.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/favorites/FavoriteRenames.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FolderLock.h"
#include "platform/foundation/Log.h"
#include "platform/kit/PopUpButton.h"

namespace ComTORVALEKZ2R4_Plugin {

std::vector<std::string> FavoriteFolder::arrayForFavoritePath() {
    std::vector<std::string> paths;
    for (const std::string& folder : AppPreference::sharedInstance().favoriteFolderPathArray(true)) {
        std::vector<std::string> files = _pathArrayForOneFavoriteFolder(folder);
        paths.insert(paths.end(), files.begin(), files.end());
    }
    std::vector<std::string> shared = arrayForSharedFavoritePath();
    paths.insert(paths.end(), shared.begin(), shared.end());
    return paths;
}

std::vector<std::string> FavoriteFolder::arrayForSharedFavoritePath() {
    std::vector<std::string> paths;
    for (const std::string& folder : AppPreference::sharedInstance().sharedFavoriteFolderPathArray()) {
        // Only a folder that is there is listed: most machines have none,
        // and no folder of the administrator's is tidied from here.
        std::error_code ignored;
        if (!std::filesystem::is_directory(folder, ignored)) continue;
        std::vector<std::string> files = _pathArrayForOneFavoriteFolder(folder, false);
        paths.insert(paths.end(), files.begin(), files.end());
    }
    return paths;
}

bool FavoriteFolder::isSharedFavoritePath(const std::string& path) {
    const AppPreference& preferences = AppPreference::sharedInstance();
    const std::string parent = std::filesystem::path(path).parent_path().string();
    for (const std::string& folder : preferences.favoriteFolderPathArray(false))
        if (parent == folder) return false;
    for (const std::string& folder : preferences.sharedFavoriteFolderPathArray())
        if (parent == folder) return true;
    return false;
}

std::vector<std::string> FavoriteFolder::_pathArrayForOneFavoriteFolder(const std::string& folder) {
    return _pathArrayForOneFavoriteFolder(folder, true);
}

std::vector<std::string> FavoriteFolder::_pathArrayForOneFavoriteFolder(const std::string& folder, bool tidy) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        kz::Log::format("### ## Fail to list \"%s\" (%s)", folder.c_str(), error.message().c_str());
        return {};
    }
    std::vector<std::string> names;
    bool leftovers = false;
    for (const auto& entry : entries) {
        std::string name = entry.path().filename().string();
        leftovers = leftovers || name == FavoriteRenames::kJournalName || kz::AtomicFile::isTemporaryName(name);
        // Dot names and items flagged invisible are kept out of the menu.
        if (name.starts_with('.') || !FavoriteFile::hasExtension(name) || isFileInVisible(entry.path().string()))
            continue;
        std::error_code ignored;
        if (!std::filesystem::exists(entry.path(), ignored) || std::filesystem::is_directory(entry.path(), ignored))
            continue;
        names.push_back(name);
    }
    // A run killed while renaming favorites left some under hidden names:
    // they are put back and listed again, so none goes missing from the list.
    if (tidy && leftovers && tidyFavoriteFolder(folder)) return _pathArrayForOneFavoriteFolder(folder, false);
    // The directory's own order differs between file systems; by name keeps
    // every list and menu the same from run to run.
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(folder + "/" + name);
    return paths;
}

std::optional<std::string> FavoriteFolder::saveFavoriteOnFavoriteDirectory(std::string_view name,
                                                                           const std::optional<std::string>& comment,
                                                                           const kz::Dictionary& content) {
    // The name becomes a file name in the favorite folder: it must stay
    // inside it and show in its listing.
    if (name.empty() || name.starts_with('.') || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string> folders = AppPreference::sharedInstance().favoriteFolderPathArray(true);
    if (folders.empty()) return std::nullopt;
    std::string path = FavoriteFile::pathWithName(name, folders.front());
    FavoriteFile file;
    file.setOptions(content);
    if (comment) file.setComment(*comment);
    // Not in the middle of another process's renames in the folder.
    kz::FolderLock lock(folders.front());
    if (!file.writeToFile(path)) return std::nullopt;
    return path;
}

bool FavoriteFolder::tidyFavoriteFolder(const std::string& folder) {
    kz::FolderLock lock(folder);
    if (!lock.locked()) return false;
    std::error_code ignored;
    bool journal = std::filesystem::exists(folder + "/" + FavoriteRenames::kJournalName, ignored);
    FavoriteRenames::recover(folder);
    return kz::AtomicFile::removeLeftovers(folder) > 0 || journal;
}

void FavoriteFolder::buildFavoritePopup(kz::PopUpButton& popup) {
    popup.removeAllItems();
    std::string title = AppPreference::sharedInstance().defaultFavoriteName();
    auto first = std::make_shared<kz::MenuItem>(title);
    first->setRepresentedObject(kz::Value(""));
    first->setImageName("GenericDocument");
    popup.menu().addItem(first);
    std::vector<std::string> files;
    std::vector<std::string> folders = AppPreference::sharedInstance().favoriteFolderPathArray(true);
    if (!folders.empty()) files = _pathArrayForOneFavoriteFolder(folders.front());
    auto section = [&](const std::vector<std::string>& paths, const char* image) {
        if (!paths.empty() && popup.numberOfItems() > 0) popup.menu().addItem(kz::MenuItem::separatorItem());
        for (const std::string& path : paths) {
            auto item = std::make_shared<kz::MenuItem>(FavoriteFile::nameWithPath(path));
            item->setRepresentedObject(kz::Value(path));
            item->setImageName(image);
            popup.menu().addItem(item);
        }
    };
    section(files, "FavoriteDocument");
    // The administrator's come after the user's, where a user's favorite of
    // the same name is found first.
    section(arrayForSharedFavoritePath(), kSharedFavoriteImage);
    popup.selectItemAtIndex(0);
}

}  // namespace ComTORVALEKZ2R4_Plugin
