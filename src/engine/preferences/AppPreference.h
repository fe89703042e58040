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
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// Where the plug-in keeps per-user data and which names its resources carry.
//
// On Linux the user's Library folder is $XDG_CONFIG_HOME (else ~/.config), so
// favorites live in <config>/TORVALE/<productFolderName>/<subFolderName>/favorite.
// The system-wide fallback below /etc is used only when there is no home at
// all, and is never created.
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

    // The favorite folders (the favorites' own operations are FavoriteFolder's).
    std::vector<std::string> favoriteFolderPathArray(bool createIfNeed) const;
    // The shared favorite folders, most important first; never created,
    // and without the user's own folder should it be among them.
    std::vector<std::string> sharedFavoriteFolderPathArray() const;
    std::vector<std::string> _subFolderPathArray(std::string_view subFolder, bool createIfNeed) const;
    // The key/value pairs of a profile (".cps") file; nullopt when it cannot
    // be read.
    static std::optional<kz::Dictionary> profileDictionaryWithContentsOfFile(const std::string& path);

    // The localised name of the default favorite (the menu's first item).
    std::string defaultFavoriteName() const;

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

private:
    // <maker>/<product>/<sub-folder>/SUBFOLDER, or nullopt when the bundle
    // does not name both folders.
    std::optional<std::string> favoriteTail(std::string_view subFolder) const;
    AppPreference() = default;
    std::shared_ptr<kz::Bundle> _bundle;
};

}  // namespace ComTORVALEKZ2R4_Plugin
