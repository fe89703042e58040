#pragma once

#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// Whole-text regular expressions in ICU syntax, as the platform's "SELF
// MATCHES" predicate evaluates them.
class KZ_EXPORT Regex {
public:
    // True when the pattern matches the entire text. An invalid pattern, a
    // pattern over 4 KiB or a text over 1 MiB, and a match that runs away
    // (catastrophic backtracking; ICU's step and stack limits) all give false.
    static bool matchesWhole(std::string_view pattern, std::string_view text);
};

}  // namespace kz
