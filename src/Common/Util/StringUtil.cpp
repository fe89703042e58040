#include "Common/Util/StringUtil.h"

#include "platform/foundation/Text.h"
#include "platform/foundation/TextEncoding.h"

namespace ComTORVALEKZ2R4_Plugin {

std::size_t lengthByBytes(std::string_view text) {
    const kz::Encoding encoding = kz::TextEncoding::systemDefault();
    if (auto bytes = kz::TextEncoding::encode(text, encoding)) return bytes->size();
    return kz::TextEncoding::encodeLossy(text, encoding).size();
}

bool boolValueIfString(const kz::Value& object) {
    if (object.isString()) return kz::Text::equalsCaseInsensitive(object.string(), "True");
    return object.boolValue();
}

bool isContain(std::string_view text, std::string_view part) {
    return !part.empty() && text.find(part) != std::string_view::npos;
}

std::optional<std::string> replaceOccurrencesOfString(std::optional<std::string_view> text,
                                                      std::optional<std::string_view> target,
                                                      std::optional<std::string_view> replacement) {
    if (!text) return std::nullopt;
    if (!target || !replacement) return std::string(*text);
    return kz::Text::replaceCaseInsensitive(*text, *target, *replacement);
}

std::string toAllowedForWindows(std::string_view text, std::string_view replacement) {
    static constexpr std::string_view kRefused = "\\/:;,*?\"<>|";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        // All refused characters are ASCII, so bytes of multi-byte characters
        // never match.
        if (kRefused.find(c) != std::string_view::npos)
            out.append(replacement);
        else
            out.push_back(c);
    }
    return out;
}

std::string controlTitleString(std::string_view text) {
    std::string out(text);
    out.push_back(':');
    return out;
}

std::string stringByDeletingControlTitleSuffix(std::string_view text) {
    if (!text.empty() && text.back() == ':') text.remove_suffix(1);
    return std::string(text);
}

double read_double(const char* characters, const char** end) {
    if (end) *end = characters;
    if (!characters) return 0;
    const char* p = characters;
    double value = 0;
    while (*p >= '0' && *p <= '9') value = value * 10 + (*p++ - '0');
    if (*p == ',' || *p == '.') {
        ++p;
        double weight = 0.1;
        while (*p >= '0' && *p <= '9') {
            value += (*p++ - '0') * weight;
            weight /= 10;
        }
    }
    if (end) *end = p;
    return value;
}

}  // namespace ComTORVALEKZ2R4_Plugin
