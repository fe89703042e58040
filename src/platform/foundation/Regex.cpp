#include "platform/foundation/Regex.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace kz {

namespace {
constexpr std::size_t kMaxPattern = 4096;
constexpr std::size_t kMaxText = 1 << 20;
// ICU counts the limit in steps of its matcher (roughly milliseconds), so the
// cut-off does not depend on the machine's speed.
constexpr int32_t kTimeLimit = 300;
constexpr int32_t kStackLimit = 1 << 20;

icu::UnicodeString toUnicode(std::string_view s) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
}
}  // namespace

bool Regex::matchesWhole(std::string_view pattern, std::string_view text) {
    if (pattern.size() > kMaxPattern || text.size() > kMaxText) return false;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString input = toUnicode(text);
    icu::RegexMatcher matcher(toUnicode(pattern), input, 0, status);
    if (U_FAILURE(status)) return false;
    matcher.setTimeLimit(kTimeLimit, status);
    matcher.setStackLimit(kStackLimit, status);
    if (U_FAILURE(status)) return false;
    const bool matched = matcher.matches(status);
    return U_SUCCESS(status) && matched;
}

}  // namespace kz
