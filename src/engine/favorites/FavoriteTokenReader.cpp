#include "engine/favorites/FavoriteTokenReader.h"

namespace ComTORVALEKZ2R4_Plugin {

std::optional<std::string> FavoriteTokenReader::_getToken(char delimiter, std::size_t maxLength,
                                                          kz::Encoding encoding, bool* isEof) {
    bool eof = false;
    if (delimiter == '\0') {
        if (isEof) *isEof = false;
        return std::nullopt;
    }
    std::size_t start = _offset;
    std::size_t length = 0;
    while (true) {
        if (_offset >= _bytes.size()) {
            eof = true;
            break;
        }
        char byte = _bytes[_offset++];
        if (byte == delimiter) break;
        ++length;
        if (length > maxLength) break;
    }
    if (isEof) *isEof = eof;
    if (length == 0) return std::nullopt;
    std::string_view raw = _bytes.substr(start, length);
    if (encoding == kz::Encoding::UTF8) {
        if (!kz::TextEncoding::isValidUtf8(raw)) return std::nullopt;
        return std::string(raw);
    }
    return kz::TextEncoding::decode(raw, encoding);
}

void FavoriteTokenReader::skipTabs() {
    while (_offset < _bytes.size() && _bytes[_offset] == '\t') ++_offset;
}

}  // namespace ComTORVALEKZ2R4_Plugin
