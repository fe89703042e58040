#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include "platform/foundation/Export.h"

namespace kz {

// Selections count UTF-16 code units while texts are kept in UTF-8; these
// translate between the two. Invalid UTF-8 bytes count as one unit each.
class KZ_EXPORT Utf16 {
public:
    static std::size_t length(std::string_view utf8);
    // The byte offset of the given unit offset; nullopt when it lies beyond the
    // text or inside a surrogate pair.
    static std::optional<std::size_t> byteOffset(std::string_view utf8, std::size_t units);
};

}  // namespace kz
