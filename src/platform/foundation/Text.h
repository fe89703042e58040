#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// Unicode operations on UTF-8 texts, through ICU. Invalid UTF-8 is read with
// each bad sequence as U+FFFD, never rejected.
class KZ_EXPORT Text {
public:
    // Compares by Unicode case folding (full folding: "Straße" equals
    // "STRASSE"); answers -1, 0 or 1.
    static int compareCaseInsensitive(std::string_view a, std::string_view b);
    static bool equalsCaseInsensitive(std::string_view a, std::string_view b);
    // The number of UTF-16 code units (a text's length as the platform counts
    // it: a character outside the basic plane counts 2).
    static std::size_t utf16Length(std::string_view text);
    static std::string lowercase(std::string_view text);
    static std::string uppercase(std::string_view text);
    // The text with every occurrence of `target`, compared by simple Unicode
    // case folding character by character, replaced by `replacement`. An empty
    // target changes nothing.
    static std::string replaceCaseInsensitive(std::string_view text, std::string_view target,
                                              std::string_view replacement);
};

}  // namespace kz
