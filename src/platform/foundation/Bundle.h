#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/foundation/StringTable.h"
#include "platform/foundation/Value.h"

namespace kz {

// A directory bundle:
//   <path>/Contents/Info.plist              its configuration
//   <path>/Contents/Resources/              resources, <lang>.lproj folders
//   <path>/Contents/PlugIns/                nested bundles
//   <path>/Contents/Linux/<CFBundleExecutable>   its shared library, if any
//
// A bundle's library hands out its principal object through the exported C
// function kzBundlePrincipalObject (see PrincipalObjectFactory); the library
// stays loaded for the life of the process, because objects it made may
// outlive the bundle object.
class KZ_EXPORT Bundle : public std::enable_shared_from_this<Bundle> {
public:
    // The symbol a bundle's library exports, and its type. The bundle is
    // passed so that the principal object can keep it; the caller owns the
    // returned object and casts it to the type it expects.
    static constexpr const char* kPrincipalObjectSymbol = "kzBundlePrincipalObject";
    using PrincipalObjectFactory = void* (*)(Bundle* bundle);

    // nullptr when the path is not a folder. A missing or unreadable
    // Info.plist leaves the info dictionary empty (and logs the reason).
    static std::shared_ptr<Bundle> open(const std::string& path);

    const std::string& path() const { return _path; }
    std::string resourcePath() const { return _path + "/Contents/Resources"; }
    std::string builtInPlugInsPath() const { return _path + "/Contents/PlugIns"; }
    // CFBundleIdentifier, or "".
    std::string identifier() const;
    const Dictionary& infoDictionary() const { return _info; }
    const Value& objectForInfoDictionaryKey(std::string_view key) const { return _info.get(key); }

    // The languages searched for localised resources, most preferred first
    // (preferredLanguages() when the bundle opens). Changing them drops the
    // cached string tables.
    const std::vector<std::string>& languages() const { return _languages; }
    void setLanguages(std::vector<std::string> languages);

    // The path of the resource "name.type" (or "name" when the type is
    // empty): in the <lang>.lproj of each preferred language, then in
    // Base.lproj, English.lproj and en.lproj, then unlocalised in Resources.
    // "" when none exists. Names with ".." or a slash are refused.
    std::string pathForResource(std::string_view name, std::string_view type) const;

    // The text of the key in the string table `table` ("" means
    // "Localizable"), or the fallback when the table or the key is missing.
    // Tables are read once and cached.
    std::string localizedString(std::string_view key, std::string_view fallback, std::string_view table = "") const;

    // Path of the shared library named by CFBundleExecutable, "" when the
    // bundle names none or the file is missing.
    std::string executablePath() const;
    // Loads the shared library once; false with the reason when it cannot.
    bool load(std::string* error = nullptr);
    bool isLoaded() const { return _handle != nullptr; }
    // A symbol of the loaded library, or nullptr.
    void* symbol(const char* name) const;
    // A new principal object from the library's factory (loading the library
    // first), or nullptr when the library or the factory is missing.
    void* principalObject(std::string* error = nullptr);

private:
    explicit Bundle(std::string path);
    const StringTable* table(std::string_view name) const;

    std::string _path;
    Dictionary _info;
    std::vector<std::string> _languages;
    void* _handle = nullptr;
    // Table name -> parsed table (nullopt when missing or unreadable).
    mutable std::map<std::string, std::optional<StringTable>, std::less<>> _tables;
};

}  // namespace kz
