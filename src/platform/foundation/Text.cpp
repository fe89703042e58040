#include "platform/foundation/Text.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace kz {

namespace {

constexpr std::size_t kMaxBytes = INT32_MAX / 4;

icu::UnicodeString toUnicode(std::string_view s) {
    if (s.size() > kMaxBytes) s = s.substr(0, kMaxBytes);
    // fromUTF8 substitutes U+FFFD for invalid sequences.
    return icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
}

std::string toUtf8(const icu::UnicodeString& s) {
    std::string out;
    s.toUTF8String(out);
    return out;
}

struct FoldedChar {
    UChar32 folded;
    std::size_t start;  // byte offset of the character in the text
};

std::vector<FoldedChar> foldSimple(std::string_view s) {
    std::vector<FoldedChar> out;
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    const auto n = static_cast<int32_t>(std::min(s.size(), kMaxBytes));
    for (int32_t i = 0; i < n;) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(p, i, n, c);
        if (c < 0) c = 0xFFFD;
        out.push_back({u_foldCase(c, U_FOLD_CASE_DEFAULT), static_cast<std::size_t>(start)});
    }
    return out;
}

}  // namespace

int Text::compareCaseInsensitive(std::string_view a, std::string_view b) {
    const icu::UnicodeString ua = toUnicode(a), ub = toUnicode(b);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t r = u_strCaseCompare(ua.getBuffer(), ua.length(), ub.getBuffer(), ub.length(),
                                       U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) return a < b ? -1 : (a == b ? 0 : 1);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool Text::equalsCaseInsensitive(std::string_view a, std::string_view b) {
    return compareCaseInsensitive(a, b) == 0;
}

std::size_t Text::utf16Length(std::string_view text) {
    std::size_t units = 0;
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const auto n = static_cast<int32_t>(std::min(text.size(), kMaxBytes));
    for (int32_t i = 0; i < n;) {
        UChar32 c;
        U8_NEXT(p, i, n, c);
        units += (c > 0xFFFF) ? 2 : 1;
    }
    return units;
}

std::string Text::lowercase(std::string_view text) {
    icu::UnicodeString u = toUnicode(text);
    return toUtf8(u.toLower(icu::Locale::getRoot()));
}

std::string Text::uppercase(std::string_view text) {
    icu::UnicodeString u = toUnicode(text);
    return toUtf8(u.toUpper(icu::Locale::getRoot()));
}

std::string Text::replaceCaseInsensitive(std::string_view text, std::string_view target,
                                         std::string_view replacement) {
    const std::vector<FoldedChar> needle = foldSimple(target);
    if (needle.empty()) return std::string(text);
    const std::vector<FoldedChar> hay = foldSimple(text);
    std::string out;
    out.reserve(text.size());
    std::size_t copiedUpTo = 0;  // byte offset in text
    for (std::size_t i = 0; i + needle.size() <= hay.size();) {
        std::size_t k = 0;
        while (k < needle.size() && hay[i + k].folded == needle[k].folded) ++k;
        if (k < needle.size()) {
            ++i;
            continue;
        }
        out.append(text.substr(copiedUpTo, hay[i].start - copiedUpTo));
        out.append(replacement);
        i += needle.size();
        copiedUpTo = i < hay.size() ? hay[i].start : std::min(text.size(), kMaxBytes);
    }
    out.append(text.substr(std::min(copiedUpTo, text.size())));
    return out;
}

}  // namespace kz
