#include "QueueDescription.h"

#include <cups/ppd.h>
#include <cups/pwg.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

// libcups marks its PPD interface deprecated; a queue's PPD is still where
// CUPS keeps what its choices mean.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzps {

namespace {

// "*Option Choice *Option Choice ...": the value of a *cupsIPPFinishings.
std::vector<std::pair<std::string, std::string>> choicesOf(const char* value) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream words(value ? value : "");
    std::string option, choice;
    while (words >> option >> choice) {
        if (option.size() < 2 || option[0] != '*') return {};
        out.emplace_back(option.substr(1), choice);
    }
    return out;
}

int hundredthsOfMm(float points) { return static_cast<int>(std::lround(points * 2540.0 / 72.0)); }

void addDefaults(QueueDescription& description, const ppd_group_t& group) {
    for (int i = 0; i < group.num_options; ++i) description.setDefault(group.options[i].keyword, group.options[i].defchoice);
    for (int i = 0; i < group.num_subgroups; ++i) addDefaults(description, group.subgroups[i]);
}

}  // namespace

std::optional<QueueDescription> QueueDescription::load(const std::string& path, std::string* error) {
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    if (!ppd) {
        int line = 0;
        ppd_status_t status = ppdLastError(&line);
        if (error) *error = path + " is no PPD: " + ppdErrorString(status) + " on line " + std::to_string(line);
        return std::nullopt;
    }
    QueueDescription description;
    for (ppd_attr_t* attr = ppdFindAttr(ppd, "cupsIPPFinishings", nullptr); attr;
         attr = ppdFindNextAttr(ppd, "cupsIPPFinishings", nullptr)) {
        char* end = nullptr;
        long value = std::strtol(attr->spec, &end, 10);
        auto choices = choicesOf(attr->value);
        if (end == attr->spec || *end || value < 3 || value > 0xffff || choices.empty()) continue;
        description.addFinishing({static_cast<int>(value), std::move(choices)});
    }
    for (int i = 0; i < ppd->num_groups; ++i) addDefaults(description, ppd->groups[i]);
    for (int i = 0; i < ppd->num_sizes; ++i) {
        const ppd_size_t& size = ppd->sizes[i];
        if (size.width <= 0 || size.length <= 0) continue;
        // A named size has exact dimensions; points rounded are off by a little.
        if (pwg_media_t* media = pwgMediaForPPD(size.name)) {
            description.addPageSize(size.name, {media->width, media->length});
        } else {
            description.addPageSize(size.name, {hundredthsOfMm(size.width), hundredthsOfMm(size.length)});
        }
    }
    ppdClose(ppd);
    return description;
}

std::string QueueDescription::defaultChoice(const std::string& option) const {
    auto it = _defaults.find(option);
    return it == _defaults.end() ? std::string() : it->second;
}

std::optional<QueueDescription::Size> QueueDescription::pageSize(const std::string& name) const {
    auto it = _sizes.find(name);
    if (it == _sizes.end()) return std::nullopt;
    return it->second;
}

}  // namespace kzps
