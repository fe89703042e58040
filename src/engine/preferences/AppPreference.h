#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/TextEncoding.h"

namespace kz {
class Bundle;
class Image;
class PopUpButton;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// Where the plug-in keeps per-user data and which names its resources carry.
//
// On Linux the user's Library folder is $XDG_CONFIG_HOME (else ~/.config), so
// favorites live in <config>/TORVALE/<productFolderName>/<subFolderName>/favorite.
// The system-wide fallback below /etc is used only when there is no home at
// all, and is never created.
//
// An administrator's favorites, shared by every user, live in the same
// sub-path below each folder of $XDG_CONFIG_DIRS (else /etc/xdg). They are
// offered after the user's own and are never written from here: a user's
// favorite of the same name comes first wherever favorites are looked up by
// name.
class KZ_EXPORT AppPreference {
public:
    static AppPreference& sharedInstance();

    // The plug-in's own bundle, which holds "miscellaneous" and the icons.
    void setBundle(std::shared_ptr<kz::Bundle> bundle) { _bundle = std::move(bundle); }
    const std::shared_ptr<kz::Bundle>& bundle() const { return _bundle; }

    // The device type written into and required of favorite files.
    static std::int32_t destinationIotType() { return 4; }
    // Text encoding of favorite files and first choice for profile files.
    static kz::Encoding stringEncodingForServer() { return kz::Encoding::UTF8; }

    // Values of "miscellaneous" for an application (nullopt = the bundle's
    // CFBundleName).
    using AppName = std::optional<std::string>;
    std::optional<std::string> convertTableFileNameWithAppName(const AppName& appName) const;
    std::optional<std::string> panesTreeFileNameWithAppName(const AppName& appName) const;
    std::optional<std::string> ppdFileNameWithAppName(const AppName& appName) const;
    std::optional<std::string> _productFolderNameWithAppName(const AppName& appName) const;
    std::optional<std::string> _subFolderNameWithAppName(const AppName& appName) const;
    std::optional<std::string> _infomationsForAppType(const AppName& appName, std::string_view key) const;

    std::vector<std::string> favoriteFolderPathArray(bool createIfNeed) const;
    // The shared favorite folders, most important first; never created,
    // and without the user's own folder should it be among them.
    std::vector<std::string> sharedFavoriteFolderPathArray() const;
    // Whether the favorite file at PATH is one of a shared folder (and so
    // not the user's to rename, re-comment or delete).
    bool isSharedFavoritePath(const std::string& path) const;
    // Paths of the shared favorite files, folder by folder.
    std::vector<std::string> arrayForSharedFavoritePath() const;
    std::vector<std::string> _subFolderPathArray(std::string_view subFolder, bool createIfNeed) const;
    // Paths of every favorite file, folder by folder (folders created if
    // needed): the user's, then the shared ones.
    std::vector<std::string> arrayForFavoritePath() const;
    // Favorite files of one folder, by name.
    static std::vector<std::string> _pathArrayForOneFavoriteFolder(const std::string& folder);
    // Puts right what a killed run left in a favorite folder (favorites
    // under the hidden names of a rename, temporaries of a write), holding
    // the folder's lock; true when there was anything.
    static bool tidyFavoriteFolder(const std::string& folder);

    // Writes a new favorite (replacing one of the same name) into the first
    // favorite folder; its path, or nullopt when the name is not a plain file
    // name, there is no folder, or the write failed.
    std::optional<std::string> saveFavoriteOnFavoriteDirectory(std::string_view name,
                                                               const std::optional<std::string>& comment,
                                                               const kz::Dictionary& content) const;

    // The key/value pairs of a profile (".cps") file; nullopt when it cannot
    // be read.
    static std::optional<kz::Dictionary> profileDictionaryWithContentsOfFile(const std::string& path);

    // The localised name of the default favorite (the menu's first item).
    std::string defaultFavoriteName() const;
    // Fills the favorites pop-up: the default favorite, then the user's
    // favorites, then the shared ones (kSharedFavoriteImage).
    void buildFavoritePopup(kz::PopUpButton& popup) const;

    // Whether the user interface runs in Japanese; computed once.
    bool isJapanesePreferred() const;
    static bool isJapaneseLocalization(std::string_view localization);
    static std::optional<std::string> _preferredLocalization();

    // The bundle's "Classic" icon (an icon family), named "Classic": of its
    // sizes the narrowest at least `pixelsWide` wide, else the widest. Null
    // when the bundle has none or it cannot be read (with a log line).
    std::shared_ptr<kz::Image> clasicIcon(std::uint32_t pixelsWide = 16) const;

    // Creates every missing folder of the path with mode 0775, whatever the
    // process's file-creation mask. Errors are ignored.
    static void _createDirectoryRecursively(const std::string& path);

    // The base folders: the user's config folder and the system fallback.
    static std::optional<std::string> userLibraryFolder();
    static constexpr const char* kClassicPreferencesFolder = "/etc";
    // The base of the shared folders when $XDG_CONFIG_DIRS names none.
    static constexpr const char* kSystemConfigFolder = "/etc/xdg";
    // The image of a shared favorite's menu item: the icon the favorites
    // manager shows for favorites that are not the user's.
    static constexpr const char* kSharedFavoriteImage = "Classic";

private:
    static std::vector<std::string> _pathArrayForOneFavoriteFolder(const std::string& folder, bool tidy);
    // <maker>/<product>/<sub-folder>/SUBFOLDER, or nullopt when the bundle
    // does not name both folders.
    std::optional<std::string> favoriteTail(std::string_view subFolder) const;
    AppPreference() = default;
    std::shared_ptr<kz::Bundle> _bundle;
};

}  // namespace ComTORVALEKZ2R4_Plugin
