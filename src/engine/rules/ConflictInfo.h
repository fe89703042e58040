#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// What a conflict search found: how the changed option's own pattern
// matched, the other options in conflict (in the order found) with how
// theirs matched, and what to set to resolve it, or the dialog texts of a
// conflict that cannot be resolved.
struct KZ_EXPORT ConflictInfo {
    int conflictedTypeSelf = 0;
    std::string conflictedValueSelf;
    std::vector<std::string> conflictedKeyList;
    std::unordered_map<std::string, int> conflictedTypeOthersDict;
    std::unordered_map<std::string, std::string> conflictedValueOthersDict;
    std::vector<std::string> restoreKeyList;
    std::unordered_map<std::string, std::string> restoreDict;
    std::optional<std::string> title;
    std::optional<std::string> message;

    ConflictInfo(int typeSelf, std::string valueSelf)
        : conflictedTypeSelf(typeSelf), conflictedValueSelf(std::move(valueSelf)) {}

    // Each keeps the first entry recorded for a keyword.
    void addConflicted(const std::string& keyword, int type, std::string threshold);
    void addRestore(const std::string& keyword, std::string value);
    void merge(const ConflictInfo& other);

    // The record as the keys the dialogs and tools know it by.
    kz::Dictionary toDictionary() const;
};

}  // namespace ComTORVALEKZ2R4_Plugin
