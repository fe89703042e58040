#include "engine/rules/RulePattern.h"

#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Numbers are read the way the description's texts always were: a leading
// decimal number, 0 when there is none.
double number(std::string_view text) { return kz::Value(text).doubleValue(); }

}  // namespace

int RulePattern::conflictedType(std::string_view pattern, std::string_view value) {
    if (value != kAll) {
        if (pattern.starts_with(kLess))
            return number(value) < number(pattern.substr(kLess.size())) ? kRuleLess : kRuleNoMatch;
        if (pattern.starts_with(kGreater))
            return number(value) > number(pattern.substr(kGreater.size())) ? kRuleGreater : kRuleNoMatch;
    }
    return pattern == value ? kRuleEqual : kRuleNoMatch;
}

std::string RulePattern::conflictedValue(std::string_view pattern, std::string_view value) {
    switch (conflictedType(pattern, value)) {
    case kRuleLess: return std::string(pattern.substr(kLess.size()));
    case kRuleGreater: return std::string(pattern.substr(kGreater.size()));
    default: return {};
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
