#include "Common/TextInput/StringEscapeConverter.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr const char* kYenSign = "\xc2\xa5";
constexpr const char* kLineSeparator = "\xe2\x80\xa8";

// Bytes of the UTF-8 character starting with `lead` (1 for a stray byte).
std::size_t characterLength(unsigned char lead) {
    if (lead >= 0xf0 && lead <= 0xf4) return 4;
    if (lead >= 0xe0) return lead <= 0xef ? 3 : 1;
    if (lead >= 0xc2) return 2;
    return 1;
}

}  // namespace

std::shared_ptr<StringEscapeConverter> StringEscapeConverter::emptyConverter() {
    return std::make_shared<StringEscapeConverter>();
}

void StringEscapeConverter::replace(std::string original, std::string escaped) {
    if (original.empty() || escaped.empty()) return;
    _replacePattern.push_back({std::move(original), std::move(escaped)});
}

std::string StringEscapeConverter::escape(std::string_view text) const { return convert(text, true); }

std::string StringEscapeConverter::unEscape(std::string_view text) const { return convert(text, false); }

std::string StringEscapeConverter::convert(std::string_view text, bool escaping) const {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const Rule* match = nullptr;
        for (const Rule& rule : _replacePattern) {
            const std::string& from = escaping ? rule.original : rule.escaped;
            if (text.compare(at, from.size(), from) == 0) {
                match = &rule;
                break;
            }
        }
        if (match) {
            out += escaping ? match->escaped : match->original;
            at += (escaping ? match->original : match->escaped).size();
        } else {
            std::size_t n = std::min(characterLength(static_cast<unsigned char>(text[at])), text.size() - at);
            out.append(text, at, n);
            at += n;
        }
    }
    return out;
}

void StringEscapeConverter::addEscapeRules(bool japanesePreferred) {
    if (japanesePreferred) {
        replace(kYenSign, "\\\\");
        replace("\\", "\\\\");
    } else {
        replace("\\", "\\\\");
        replace(kYenSign, "\\\\");
    }
    replace("\"", "\\\"");
    replace("\\", "\\\\");
    replace("\n", "\\n");
    replace(kLineSeparator, "\\n");
}

}  // namespace ComTORVALEKZ2R4_Plugin
