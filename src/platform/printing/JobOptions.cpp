#include "platform/printing/JobOptions.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/printing/PrintingCalls.h"

// libcups marks its PPD interface deprecated; the PPD is still how the host
// describes its printer and holds the marked choices.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kz {

namespace {

constexpr const char* kInputSlotKey = "VLInputSlot";
// The custom entry of the secure-print password.
constexpr std::string_view kSecurePrintPasswordKeyword = "SecurityPrintPassword";
// Longer names are not names in IPP; such a value goes as text.
constexpr std::size_t kMaxIppName = 255;

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string paramValue(const ppd_cparam_t& param) {
    switch (param.type) {
        case PPD_CUSTOM_CURVE: return number(param.current.custom_curve);
        case PPD_CUSTOM_INVCURVE: return number(param.current.custom_invcurve);
        case PPD_CUSTOM_POINTS: return number(param.current.custom_points);
        case PPD_CUSTOM_REAL: return number(param.current.custom_real);
        case PPD_CUSTOM_INT: return std::to_string(param.current.custom_int);
        case PPD_CUSTOM_PASSCODE:
        case PPD_CUSTOM_PASSWORD:
        case PPD_CUSTOM_STRING:
            return param.current.custom_string ? param.current.custom_string : "";
        default: return "";
    }
}

// A marked custom choice as libcups' option marking reads it back; the
// bare word "Custom" would lose the values the user gave.
std::string customChoice(ppd_file_t* ppd, const ppd_option_t& option) {
    ppd_coption_t* custom = ppdFindCustomOption(ppd, option.keyword);
    if (!custom) return option.defchoice;
    if (std::strcmp(option.keyword, "PageSize") == 0) {
        const ppd_cparam_t* width = ppdFindCustomParam(custom, "Width");
        const ppd_cparam_t* height = ppdFindCustomParam(custom, "Height");
        if (!width || !height) return option.defchoice;
        return "Custom." + paramValue(*width) + "x" + paramValue(*height);
    }
    std::vector<ppd_cparam_t*> params;
    for (auto* p = ppdFirstCustomParam(custom); p; p = ppdNextCustomParam(custom)) params.push_back(p);
    if (params.size() == 1) return "Custom." + paramValue(*params[0]);
    std::string text = "{";
    for (const auto* p : params) text += std::string(text.size() > 1 ? " " : "") + p->name + "=" + paramValue(*p);
    return text + "}";
}

// libcups' typing reads quotes, backslashes, commas and braces in a value;
// such a value goes as text so it arrives as written.
bool safeToType(const std::string& value) {
    return value.find_first_of("\\'\",") == std::string::npos && (value.empty() || value[0] != '{');
}

std::string settingText(const Value& value) {
    if (value.isBoolean()) return value.boolValue() ? "True" : "False";
    if (value.isInteger()) return std::to_string(value.integerValue());
    return value.string();
}

// The main keyword of a custom entry's key.
std::string_view keywordOf(std::string_view key) {
    const std::string_view marker = PrintSettings::kCustomEntryMarker;
    return key.substr(key.find(marker) + marker.size());
}

void addMarkedChoices(JobOptions& options, ppd_file_t* ppd, const ppd_group_t& group) {
    for (int i = 0; i < group.num_options; ++i) {
        const ppd_option_t& option = group.options[i];
        const ppd_choice_t* marked = ppdFindMarkedChoice(ppd, option.keyword);
        if (!marked || std::strcmp(marked->choice, option.defchoice) == 0) continue;
        std::string choice = std::strcmp(marked->choice, "Custom") == 0 ? customChoice(ppd, option) : marked->choice;
        if (choice == option.defchoice) continue;
        options.set(option.keyword, choice, safeToType(choice) ? JobOptions::Kind::typed : JobOptions::Kind::text);
    }
    for (int i = 0; i < group.num_subgroups; ++i) addMarkedChoices(options, ppd, group.subgroups[i]);
}

}  // namespace

JobOptions JobOptions::make(const PrintSettings& settings, ppd_file_t* ppd) {
    JobOptions options;
    if (ppd) {
        for (int i = 0; i < ppd->num_groups; ++i) addMarkedChoices(options, ppd, ppd->groups[i]);
    }
    for (const auto& [key, value] : settings.values()) {
        if (!PrintSettings::isCustomEntryKey(key)) continue;
        if (keywordOf(key) == kSecurePrintPasswordKeyword) {
            if (!settingText(value).empty()) options.set(kPasswordOption, settingText(value), Kind::password);
            continue;
        }
        options.set(key, settingText(value), Kind::text);
    }
    if (const Value* slot = settings.value(kInputSlotKey)) options.set(kInputSlotKey, settingText(*slot), Kind::text);

    const Value* copies = settings.value(PrintSettings::kCopiesKey);
    options.set("copies", copies && copies->isInteger() ? std::to_string(copies->integerValue()) : "1", Kind::typed);
    bool collate = true;
    PMGetCollate(&settings, &collate);
    options.set("Collate", collate ? "True" : "False", Kind::typed);
    int duplex = PrintSettings::kDuplexNone;
    PMGetDuplex(&settings, &duplex);
    const char* sides = duplex == PrintSettings::kDuplexNoTumble ? "two-sided-long-edge"
                        : duplex == PrintSettings::kDuplexTumble ? "two-sided-short-edge"
                                                                 : "one-sided";
    options.set("sides", sides, Kind::typed);
    return options;
}

const JobOptions::Option* JobOptions::find(std::string_view name) const {
    for (const auto& option : _options)
        if (option.name == name) return &option;
    return nullptr;
}

void JobOptions::set(std::string name, std::string value, Kind kind) {
    for (auto& option : _options) {
        if (option.name == name) {
            option.value = std::move(value);
            option.kind = kind;
            return;
        }
    }
    _options.push_back({std::move(name), std::move(value), kind});
}

void JobOptions::addTo(ipp_t* request) const {
    // The password is an operation attribute, and the operation group must
    // come before the job group: a scheduler refuses a request whose groups
    // are out of order.
    for (const auto& option : _options) {
        if (option.kind != Kind::password) continue;
        ippAddOctetString(request, IPP_TAG_OPERATION, option.name.c_str(), option.value.data(),
                          static_cast<int>(option.value.size()));
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "job-password-encryption", nullptr, "none");
    }
    for (const auto& option : _options) {
        if (option.kind == Kind::password) continue;
        if (option.kind == Kind::typed) {
            cupsEncodeOption(request, IPP_TAG_JOB, option.name.c_str(), option.value.c_str());
        } else {
            ippAddString(request, IPP_TAG_JOB, option.value.size() > kMaxIppName ? IPP_TAG_TEXT : IPP_TAG_NAME,
                         option.name.c_str(), nullptr, option.value.c_str());
        }
    }
}

std::string JobOptions::toString() const {
    std::string line;
    for (const auto& option : _options) {
        if (!line.empty()) line += ' ';
        line += option.name + '=';
        if (option.value.find_first_of(" \t\n\\'\"{}") == std::string::npos && !option.value.empty()) {
            line += option.value;
            continue;
        }
        line += '"';
        for (char c : option.value) {
            if (c == '"' || c == '\\') line += '\\';
            line += c;
        }
        line += '"';
    }
    return line;
}

}  // namespace kz
