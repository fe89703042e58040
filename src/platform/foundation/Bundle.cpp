#include "platform/foundation/Bundle.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/PreferredLanguages.h"
#include "platform/foundation/PropertyList.h"

namespace kz {

namespace {

bool isDirectory(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Old bundles name their localisations in English words.
std::string_view legacyName(std::string_view lang) {
    static const std::pair<std::string_view, std::string_view> names[] = {
        {"en", "English"}, {"ja", "Japanese"}, {"fr", "French"},  {"de", "German"},
        {"es", "Spanish"}, {"it", "Italian"},  {"nl", "Dutch"},   {"zh_CN", "zh-Hans"},
        {"zh_TW", "zh-Hant"}};
    for (const auto& [code, name] : names)
        if (code == lang) return name;
    return {};
}

}  // namespace

Bundle::Bundle(std::string path) : _path(std::move(path)), _languages(preferredLanguages()) {}

std::shared_ptr<Bundle> Bundle::open(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (p.empty() || !isDirectory(p)) return nullptr;
    std::shared_ptr<Bundle> bundle(new Bundle(p));
    std::string info = p + "/Contents/Info.plist";
    if (isFile(info)) {
        std::string error;
        Value v = PropertyList::readFile(info, &error);
        if (v.isDictionary())
            bundle->_info = v.dictionary();
        else
            Log::line("### " + (error.empty() ? info + ": not a dictionary" : error));
    }
    return bundle;
}

std::string Bundle::identifier() const { return _info.get("CFBundleIdentifier").string(); }

void Bundle::setLanguages(std::vector<std::string> languages) {
    _languages = std::move(languages);
    _tables.clear();
}

std::string Bundle::pathForResource(std::string_view name, std::string_view type) const {
    if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") return {};
    if (type.find('/') != std::string_view::npos) return {};
    std::string file(name);
    if (!type.empty()) file += (type.front() == '.' ? "" : ".") + std::string(type);
    std::string resources = resourcePath();
    auto inFolder = [&](std::string_view lproj) -> std::string {
        std::string candidate = resources + "/" + std::string(lproj) + ".lproj/" + file;
        return isFile(candidate) ? candidate : std::string();
    };
    std::vector<std::string> folders;
    auto addFolder = [&](std::string_view f) {
        if (f.empty()) return;
        for (const auto& have : folders)
            if (have == f) return;
        folders.emplace_back(f);
    };
    for (const auto& lang : _languages) {
        addFolder(lang);
        std::string dashed = lang;
        for (char& c : dashed)
            if (c == '_') c = '-';
        addFolder(dashed);
        addFolder(legacyName(lang));
    }
    for (std::string_view f : {"Base", "English", "en"}) addFolder(f);
    for (const auto& f : folders)
        if (std::string found = inFolder(f); !found.empty()) return found;
    std::string plain = resources + "/" + file;
    return isFile(plain) ? plain : std::string();
}

const StringTable* Bundle::table(std::string_view name) const {
    std::string_view tableName = name.empty() ? std::string_view("Localizable") : name;
    auto it = _tables.find(tableName);
    if (it == _tables.end()) {
        std::optional<StringTable> loaded;
        std::string path = pathForResource(tableName, "strings");
        if (!path.empty()) {
            std::string error;
            loaded = StringTable::readFile(path, &error);
            if (!loaded) Log::line("### " + error);
        }
        it = _tables.emplace(std::string(tableName), std::move(loaded)).first;
    }
    return it->second ? &*it->second : nullptr;
}

std::string Bundle::localizedString(std::string_view key, std::string_view fallback, std::string_view tableName) const {
    const StringTable* t = table(tableName);
    const std::string* text = t ? t->find(key) : nullptr;
    return text ? *text : std::string(fallback);
}

std::string Bundle::executablePath() const {
    const std::string& name = _info.get("CFBundleExecutable").string();
    if (name.empty() || name.find('/') != std::string::npos || name == "..") return {};
    std::string base = _path + "/Contents/Linux/" + name;
    if (isFile(base)) return base;
    if (isFile(base + ".so")) return base + ".so";
    return {};
}

bool Bundle::load(std::string* error) {
    if (_handle) return true;
    std::string lib = executablePath();
    if (lib.empty()) {
        if (error) *error = _path + ": no shared library (CFBundleExecutable under Contents/Linux)";
        return false;
    }
    _handle = ::dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!_handle) {
        const char* why = ::dlerror();
        if (error) *error = why ? why : ("cannot load " + lib);
        return false;
    }
    return true;
}

void* Bundle::symbol(const char* name) const { return _handle ? ::dlsym(_handle, name) : nullptr; }

void* Bundle::principalObject(std::string* error) {
    if (!load(error)) return nullptr;
    auto factory = reinterpret_cast<PrincipalObjectFactory>(symbol(kPrincipalObjectSymbol));
    if (!factory) {
        if (error) *error = executablePath() + ": no " + kPrincipalObjectSymbol;
        return nullptr;
    }
    return factory(this);
}

}  // namespace kz
