#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/TextEncoding.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Reads the delimited tokens of a favorite file, byte by byte, from bytes
// held in memory. The cursor is the file offset.
class KZ_EXPORT FavoriteTokenReader {
public:
    explicit FavoriteTokenReader(std::string_view bytes) : _bytes(bytes) {}

    // Collects bytes up to the delimiter (consumed, not part of the token),
    // the end of the bytes (isEof set), or until maxLength + 1 bytes are
    // collected (the rest stays for the next token). Nothing collected, a
    // delimiter of 0, or bytes not valid in the encoding give nullopt.
    std::optional<std::string> _getToken(char delimiter, std::size_t maxLength, kz::Encoding encoding,
                                         bool* isEof);
    // Steps over TAB bytes.
    void skipTabs();

    std::size_t offset() const { return _offset; }
    void seek(std::size_t offset) { _offset = offset < _bytes.size() ? offset : _bytes.size(); }
    std::string_view rest() const { return _bytes.substr(_offset); }

private:
    std::string_view _bytes;
    std::size_t _offset = 0;
};

}  // namespace ComTORVALEKZ2R4_Plugin
