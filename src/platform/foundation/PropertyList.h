#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace kz {

// Property lists in the XML and the binary ("bplist00") format, read through
// libplist. Dictionaries keep the order of the file. Input is untrusted: size,
// nesting depth and the number of objects are bounded before libplist sees a
// byte, so a truncated or hostile file answers an error, never a crash or an
// unbounded allocation.
class KZ_EXPORT PropertyList {
public:
    static constexpr std::size_t kMaxBytes = 64u * 1024 * 1024;
    static constexpr int kMaxDepth = 256;
    // Objects after shared references in a binary file are expanded.
    static constexpr std::size_t kMaxObjects = 2'000'000;

    // A null Value and the reason in *error on failure.
    static Value readFile(const std::string& path, std::string* error = nullptr);
    static Value read(std::string_view bytes, std::string* error = nullptr);
    // XML text of the value (null values inside containers are left out:
    // property lists have no null). Empty text and the reason in *error for a
    // value a property list cannot hold (a date the reader could not read back).
    static std::string toXml(const Value& value, std::string* error = nullptr);
    // Writes the XML through AtomicFile: the old file stays whole on failure.
    static bool writeFile(const Value& value, const std::string& path, std::string* error = nullptr);
};

}  // namespace kz
