#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/conversion/ConvertTableEntry.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// The convert table: a property list that maps each main keyword of a print
// option to its entry (tag key and value mapping) of the input-manager
// format. The file comes from outside the program, so it is read whole,
// bounded, and checked entry by entry; a table with any malformed entry is
// refused with a reason that names the entry, rather than converting part of
// a favorite and silently losing the rest.
class KZ_EXPORT ConvertTable {
public:
    static constexpr std::size_t kMaxFileBytes = 4u * 1024 * 1024;
    static constexpr std::size_t kMaxEntries = 20000;
    static constexpr std::size_t kMaxItems = 10000;
    static constexpr std::size_t kMaxTextBytes = 1024;

    // nullopt and the reason in *error when the file cannot be read or is
    // not a well-formed table.
    static std::optional<ConvertTable> readFile(const std::string& path, std::string* error = nullptr);
    static std::optional<ConvertTable> read(std::string_view bytes, std::string* error = nullptr);
    static std::optional<ConvertTable> fromValue(const kz::Value& plist, std::string* error = nullptr);

    std::size_t size() const { return _entries.size(); }
    // Main keywords with their entries, in the order of the file.
    const std::vector<std::pair<std::string, ConvertTableEntry>>& entries() const { return _entries; }

    const ConvertTableEntry* entryForMainKeyword(std::string_view mainKeyword) const;
    // The first entry in file order whose tag key is `tagKey`, with its main
    // keyword; nullptr when none names it.
    const std::pair<std::string, ConvertTableEntry>* entryForTagKey(std::string_view tagKey) const;

private:
    std::vector<std::pair<std::string, ConvertTableEntry>> _entries;
    std::unordered_map<std::string, std::size_t> _byMainKeyword;
    std::unordered_map<std::string, std::size_t> _byTagKey;
};

}  // namespace ComTORVALEKZ2R4_Plugin
