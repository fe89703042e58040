#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// The byte-string encodings the system reads and writes. Conversions go
// through ICU converters; the ICU converter behind each one is chosen in
// TextEncoding.cpp (where ICU has no exact table, the closest one is used and
// the difference is written down there).
enum class Encoding {
    UTF8,
    ASCII,
    MacRoman,
    MacJapanese,
    MacChineseSimplified,
    EUCJP,
    Windows1252,
    Windows932,
    DOSLatin1,
    ShiftJIS,
};

class KZ_EXPORT TextEncoding {
public:
    // Bytes in the encoding to UTF-8. Strict: any byte sequence that is not
    // valid in the encoding gives no result.
    static std::optional<std::string> decode(std::string_view bytes, Encoding encoding);
    // UTF-8 to bytes in the encoding. Strict: invalid UTF-8, or a character
    // the encoding cannot represent, gives no result.
    static std::optional<std::string> encode(std::string_view utf8, Encoding encoding);
    // As encode, but every character that cannot be represented, and every
    // invalid UTF-8 sequence, becomes '?' (U+FFFD when the target is UTF-8).
    static std::string encodeLossy(std::string_view utf8, Encoding encoding);
    static bool isValidUtf8(std::string_view text);

    // The system's default byte-string encoding: Windows-1252, or Windows-932
    // when Japanese is the first preferred language, until set explicitly.
    static Encoding systemDefault();
    static void setSystemDefault(Encoding encoding);

    // Accepts the usual IANA names and aliases ("UTF-8", "macintosh",
    // "Shift_JIS", "windows-1252", "cp932", "IBM850", ...) and the enum's own
    // names ("MacRoman"), case-insensitively.
    static std::optional<Encoding> fromName(std::string_view name);
    // The canonical name of an encoding ("UTF-8", "macintosh", ...).
    static const char* name(Encoding encoding);
};

}  // namespace kz
