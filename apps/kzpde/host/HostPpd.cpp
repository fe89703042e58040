#include "host/HostPpd.h"

#include <cstring>
#include <filesystem>

// libcups marks the PPD interface deprecated in favour of IPP; a print
// dialog's panels still read and mark PPD choices.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

std::unique_ptr<HostPpd> HostPpd::open(const std::string& path, std::string* error) {
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    if (!ppd) {
        int line = 0;
        ppd_status_t status = ppdLastError(&line);
        if (error)
            *error = path + ": not a PPD file (" + ppdErrorString(status) +
                     (line > 0 ? " on line " + std::to_string(line) : std::string()) + ")";
        return nullptr;
    }
    ppdMarkDefaults(ppd);
    return std::unique_ptr<HostPpd>(new HostPpd(ppd, path));
}

HostPpd::~HostPpd() { ppdClose(_ppd); }

bool HostPpd::hasChoice(const std::string& keyword, const std::string& choice) const {
    ppd_option_t* option = ppdFindOption(_ppd, keyword.c_str());
    return option && ppdFindChoice(option, choice.c_str());
}

bool HostPpd::mark(const std::string& keyword, const std::string& choice) {
    if (!hasChoice(keyword, choice)) return false;
    ppdMarkOption(_ppd, keyword.c_str(), choice.c_str());
    return true;
}

bool HostPpd::namesDialogExtension(const std::string& bundlePath) const {
    std::filesystem::path bundle(bundlePath);
    if (!bundle.has_filename()) bundle = bundle.parent_path();
    const std::string name = bundle.filename().string();
    if (name.empty()) return false;
    for (ppd_attr_t* attr = ppdFindAttr(_ppd, kDialogExtension, nullptr); attr;
         attr = ppdFindNextAttr(_ppd, kDialogExtension, nullptr)) {
        std::filesystem::path named(attr->value ? attr->value : "");
        if (!named.has_filename()) named = named.parent_path();
        if (named.filename() == name) return true;
    }
    return false;
}

std::vector<std::pair<std::string, std::string>> HostPpd::markedChoices() const {
    std::vector<std::pair<std::string, std::string>> found;
    for (ppd_option_t* option = ppdFirstOption(_ppd); option; option = ppdNextOption(_ppd))
        if (ppd_choice_t* marked = ppdFindMarkedChoice(_ppd, option->keyword))
            found.emplace_back(option->keyword, marked->choice);
    return found;
}

std::vector<std::pair<std::string, std::string>> HostPpd::changedChoices() const {
    std::vector<std::pair<std::string, std::string>> changed;
    for (ppd_option_t* option = ppdFirstOption(_ppd); option; option = ppdNextOption(_ppd))
        if (ppd_choice_t* marked = ppdFindMarkedChoice(_ppd, option->keyword);
            marked && std::strcmp(marked->choice, option->defchoice) != 0)
            changed.emplace_back(option->keyword, marked->choice);
    return changed;
}

std::vector<std::string> HostPpd::markFromSettings(const kz::PrintSettings& settings) {
    std::vector<std::string> unknown;
    const std::string prefix = kSettingsKeyPrefix;
    for (const auto& [key, value] : settings.values()) {
        if (key.rfind(prefix, 0) != 0) continue;
        if (!value.isString() || !mark(key.substr(prefix.size()), value.string())) unknown.push_back(key);
    }
    return unknown;
}

void HostPpd::writeToSettings(kz::PrintSettings& settings) const {
    std::vector<std::string> old;
    for (const auto& [key, value] : settings.values())
        if (key.rfind(kSettingsKeyPrefix, 0) == 0) old.push_back(key);
    for (const std::string& key : old) settings.remove(key);
    for (const auto& [keyword, choice] : changedChoices())
        settings.setValue(kSettingsKeyPrefix + keyword, kz::Value(choice));
}

}  // namespace kzpde
