#include "platform/kit/Utf16.h"

namespace kz {

namespace {
// Bytes and UTF-16 units of the sequence starting at i.
void step(std::string_view s, std::size_t i, std::size_t& bytes, std::size_t& units) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (i + n > s.size()) n = 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) n = 1;
    bytes = n;
    units = n == 4 ? 2 : 1;
}
}  // namespace

std::size_t Utf16::length(std::string_view s) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t b, u;
        step(s, i, b, u);
        i += b;
        total += u;
    }
    return total;
}

std::optional<std::size_t> Utf16::byteOffset(std::string_view s, std::size_t units) {
    std::size_t i = 0, seen = 0;
    while (seen < units) {
        if (i >= s.size()) return std::nullopt;
        std::size_t b, u;
        step(s, i, b, u);
        if (seen + u > units) return std::nullopt;
        i += b;
        seen += u;
    }
    return i;
}

}  // namespace kz
