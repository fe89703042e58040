#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/foundation/Export.h"

namespace kz {

// A ".strings" table: `"key" = "value";` pairs in UTF-8 or UTF-16 (LE or BE,
// with a byte-order mark, or without one when the zero bytes of ASCII text
// give the order away). Keys and values are quoted or plain words; `"key";`
// maps a key to itself; /* */ and // comments; escapes \n \t \r \" \\ \a \b
// \f \v, \Uxxxx / \uxxxx (surrogate pairs joined) and octal \ooo. Errors name
// the line. Entries keep the file's order; a repeated key keeps the last value.
class KZ_EXPORT StringTable {
public:
    static constexpr std::size_t kMaxBytes = 16u * 1024 * 1024;

    static std::optional<StringTable> readFile(const std::string& path, std::string* error = nullptr);
    static std::optional<StringTable> parse(std::string_view bytes, std::string* error = nullptr);

    // The text under the key, or nullptr.
    const std::string* find(std::string_view key) const;
    // The text under the key, or the fallback.
    std::string lookup(std::string_view key, std::string_view fallback) const;
    // Every entry in file order; each value is a string.
    const Dictionary& entries() const { return _entries; }
    std::size_t size() const { return _entries.size(); }

private:
    Dictionary _entries;
};

}  // namespace kz
