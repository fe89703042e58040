#pragma once

#include <functional>
#include <optional>
#include <string>

#include "engine/rules/ConflictInfo.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The conflict searches over the rule dictionaries of control descriptions.
// They read other options only through the lookup, which answers an
// option's current value (none for an option without a control or value).
class KZ_EXPORT ConflictSearch {
public:
    using ValueLookup = std::function<std::optional<std::string>(const std::string& keyword)>;

    // The first own pattern of a "conflict" dictionary that matches `value`
    // and whose rule finds a conflict.
    static std::optional<ConflictInfo> conflictInfo(const kz::Dictionary& conflicts, const std::string& value,
                                                    const ValueLookup& lookup);
    // Every other option of the rule whose value matches (a nested rule must
    // match as well), with what to restore.
    static std::optional<ConflictInfo> findConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                        const std::string& valueSelf, const ValueLookup& lookup);
    // The first other option of an unrestorable rule that matches, with the
    // dialog's title and message; nothing before the network data is in.
    static std::optional<ConflictInfo> findUnrestorableConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                                    const std::string& valueSelf,
                                                                    const ValueLookup& lookup, bool networkReady);
    // An unrestorable "unrestorable_conflict" dictionary's search for `value`,
    // its own title and message applied.
    static std::optional<ConflictInfo> unrestorableConflictInfo(const kz::Dictionary& conflicts,
                                                                const std::string& value,
                                                                const ValueLookup& lookup, bool networkReady);

    // "title" and "message" sit beside keywords and patterns in unrestorable
    // rules and are never either.
    static bool isDialogTextKey(std::string_view key) { return key == "title" || key == "message"; }

    // Nested rules deeper than this are not followed: property lists are
    // bounded, but each level costs a stack frame.
    static constexpr int kMaxNesting = 64;
};

}  // namespace ComTORVALEKZ2R4_Plugin
