#include "engine/preferences/AppPreference.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "engine/preferences/ProfileReader.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferredLanguages.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/IcnsFile.h"
#include "platform/kit/Image.h"
#include "platform/kit/PopUpButton.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr const char* kMakerFolder = "TORVALE";
constexpr const char* kFavoriteSubFolder = "favorite";

bool isDirectoryNoFollow(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

AppPreference& AppPreference::sharedInstance() {
    static AppPreference* instance = new AppPreference();  // lives for the process
    return *instance;
}

std::optional<std::string> AppPreference::_infomationsForAppType(const AppName& appName, std::string_view key) const {
    kz::Value miscellaneous;
    std::string name;
    if (_bundle) {
        std::string path = _bundle->pathForResource("miscellaneous", "plist");
        if (!path.empty()) miscellaneous = kz::PropertyList::readFile(path);
        name = appName ? *appName : _bundle->infoDictionary().get("CFBundleName").stringValue();
    }
    const kz::Value* application = nullptr;
    if (!name.empty() && miscellaneous.isDictionary()) application = miscellaneous.dictionary().find(name);
    if (!application || !application->isDictionary()) {
        kz::Log::line("### ## fail to retrieve infomations dictionary");
        return std::nullopt;
    }
    const kz::Value& value = application->dictionary().get(key);
    if (!value.isString()) return std::nullopt;
    return value.string();
}

std::optional<std::string> AppPreference::convertTableFileNameWithAppName(const AppName& appName) const {
    return _infomationsForAppType(appName, "convertTableFileName");
}

std::optional<std::string> AppPreference::panesTreeFileNameWithAppName(const AppName& appName) const {
    return _infomationsForAppType(appName, "panesTreeFileName");
}

std::optional<std::string> AppPreference::ppdFileNameWithAppName(const AppName& appName) const {
    return _infomationsForAppType(appName, "ppdFileName");
}

std::optional<std::string> AppPreference::_productFolderNameWithAppName(const AppName& appName) const {
    return _infomationsForAppType(appName, "productFolderName");
}

std::optional<std::string> AppPreference::_subFolderNameWithAppName(const AppName& appName) const {
    return _infomationsForAppType(appName, "subFolderName");
}

std::optional<std::string> AppPreference::userLibraryFolder() {
    // A relative XDG_CONFIG_HOME is to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config);
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const struct passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return std::nullopt;
    return std::string(home) + "/.config";
}

std::optional<std::string> AppPreference::favoriteTail(std::string_view subFolder) const {
    std::optional<std::string> product = _productFolderNameWithAppName(std::nullopt);
    std::optional<std::string> sub = _subFolderNameWithAppName(std::nullopt);
    // Without both names the folder would be a shared one of every product;
    // there is no favorite folder then.
    auto plain = [](const std::optional<std::string>& name) {
        return name && !name->empty() && name->find('/') == std::string::npos && *name != "." && *name != "..";
    };
    if (!plain(product) || !plain(sub)) return std::nullopt;
    return std::string("/") + kMakerFolder + "/" + *product + "/" + *sub + "/" + std::string(subFolder);
}

std::vector<std::string> AppPreference::_subFolderPathArray(std::string_view subFolder, bool createIfNeed) const {
    std::optional<std::string> found = favoriteTail(subFolder);
    if (!found) return {};
    const std::string& tail = *found;

    if (std::optional<std::string> base = userLibraryFolder()) {
        std::string path = *base + tail;
        if (createIfNeed && !std::filesystem::is_directory(path)) _createDirectoryRecursively(path);
        return {path};
    }
    return {kClassicPreferencesFolder + tail};
}

std::vector<std::string> AppPreference::favoriteFolderPathArray(bool createIfNeed) const {
    return _subFolderPathArray(kFavoriteSubFolder, createIfNeed);
}

std::vector<std::string> AppPreference::sharedFavoriteFolderPathArray() const {
    std::optional<std::string> tail = favoriteTail(kFavoriteSubFolder);
    if (!tail) return {};
    // The base folders as the freedesktop base directory rules have them:
    // relative entries are ignored, and an unset or empty list is /etc/xdg.
    std::vector<std::string> bases;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string_view list = dirs ? dirs : "";
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        std::string_view entry = list.substr(0, colon);
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        while (entry.size() > 1 && entry.ends_with('/')) entry.remove_suffix(1);
        if (entry.starts_with('/')) bases.emplace_back(entry == "/" ? std::string_view() : entry);
    }
    if (bases.empty()) bases.emplace_back(kSystemConfigFolder);
    const std::vector<std::string> own = favoriteFolderPathArray(false);
    std::vector<std::string> folders;
    for (const std::string& base : bases) {
        std::string folder = base + *tail;
        if (std::find(own.begin(), own.end(), folder) == own.end() &&
            std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    return folders;
}

std::optional<kz::Dictionary> AppPreference::profileDictionaryWithContentsOfFile(const std::string& path) {
    return ProfileReader::readFile(path);
}

std::string AppPreference::defaultFavoriteName() const {
    // The panel's texts are in the "UI" table; older bundles kept this one in
    // the default table.
    if (!_bundle) return "DefaultFavorite";
    return _bundle->localizedString("DefaultFavorite", _bundle->localizedString("DefaultFavorite", "DefaultFavorite", ""),
                                    "UI");
}

bool AppPreference::isJapaneseLocalization(std::string_view localization) {
    return localization == "Japanese" || localization == "ja";
}

std::optional<std::string> AppPreference::_preferredLocalization() {
    std::vector<std::string> languages = kz::preferredLanguages();
    if (languages.empty() || languages.front().empty()) return std::nullopt;
    // A locale name such as ja_JP.UTF-8 names the localization "ja".
    std::string first = languages.front();
    return first.substr(0, first.find_first_of("_-.@"));
}

bool AppPreference::isJapanesePreferred() const {
    static const bool japanese = [] {
        std::optional<std::string> localization = _preferredLocalization();
        return localization && isJapaneseLocalization(*localization);
    }();
    return japanese;
}

std::shared_ptr<kz::Image> AppPreference::clasicIcon(std::uint32_t pixelsWide) const {
    if (!_bundle) return nullptr;
    std::string path = _bundle->pathForResource("Classic", "icns");
    if (path.empty()) return nullptr;
    std::string error;
    std::optional<kz::IcnsFile> family = kz::IcnsFile::fromFile(path, &error);
    std::shared_ptr<kz::Image> image = family ? family->imageForPixelsWide(pixelsWide) : nullptr;
    if (!image) {
        kz::Log::format("### ## Fail to read the Classic icon (%s)", family ? (path + ": no picture").c_str() : error.c_str());
        return nullptr;
    }
    image->setName("Classic");
    return image;
}

void AppPreference::_createDirectoryRecursively(const std::string& path) {
    std::string prefix;
    std::string::size_type start = 0;
    while (start <= path.size()) {
        std::string::size_type slash = path.find('/', start);
        std::string::size_type end = slash == std::string::npos ? path.size() : slash;
        prefix = path.substr(0, end);
        start = end + 1;
        if (prefix.empty() || prefix.ends_with('/')) continue;
        if (isDirectoryNoFollow(prefix)) continue;
        // Set the mode only on a folder made here: an existing name (a link
        // to a folder, say) is left as it is.
        if (::mkdir(prefix.c_str(), 0775) == 0) ::chmod(prefix.c_str(), 0775);
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
