#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// How a rule's value pattern matched a value: a literal text, a number
// threshold ("__LESS__:10", "__GREATER__:10") or the word for any change.
enum RuleMatch : int { kRuleNoMatch = 0, kRuleLess = 1, kRuleGreater = 2, kRuleEqual = 3 };

class KZ_EXPORT RulePattern {
public:
    static constexpr std::string_view kLess = "__LESS__:";
    static constexpr std::string_view kGreater = "__GREATER__:";
    static constexpr std::string_view kAll = "__ALL__";

    // The way `pattern` matches `value`; "__ALL__" as the value never
    // compares numerically, so only the literal pattern "__ALL__" takes it.
    static int conflictedType(std::string_view pattern, std::string_view value);
    // The threshold text of a numeric match, else the empty text.
    static std::string conflictedValue(std::string_view pattern, std::string_view value);
};

}  // namespace ComTORVALEKZ2R4_Plugin
