#include "engine/rules/ConflictSearch.h"

#include "engine/rules/RulePattern.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

using Lookup = ConflictSearch::ValueLookup;

struct Found {
    const std::string* pattern = nullptr;
    const kz::Value* rule = nullptr;
};

// The first pattern of `patterns` (dialog text keys skipped when asked) that
// matches the value.
Found firstMatch(const kz::Dictionary& patterns, const std::string& value, bool skipTexts) {
    for (const auto& [pattern, rule] : patterns) {
        if (skipTexts && ConflictSearch::isDialogTextKey(pattern)) continue;
        if (RulePattern::conflictedType(pattern, value) != kRuleNoMatch) return {&pattern, &rule};
    }
    return {};
}

std::optional<std::string> textOf(const kz::Dictionary& d, std::string_view key) {
    const kz::Value* v = d.find(key);
    if (!v || v->isDictionary() || v->isArray()) return std::nullopt;
    return v->stringValue();
}

void takeTexts(ConflictInfo& info, const kz::Dictionary& from) {
    if (auto t = textOf(from, "title")) info.title = std::move(t);
    if (auto m = textOf(from, "message")) info.message = std::move(m);
}

std::optional<ConflictInfo> findConflict(const kz::Dictionary& rule, int typeSelf, const std::string& valueSelf,
                                         const Lookup& lookup, int depth) {
    std::optional<ConflictInfo> info;
    if (depth > ConflictSearch::kMaxNesting) return info;
    for (const auto& [keyword, entry] : rule) {
        if (!entry.isDictionary()) continue;
        std::optional<std::string> value = lookup(keyword);
        if (!value) continue;
        Found match = firstMatch(entry.dictionary(), *value, false);
        if (!match.rule || !match.rule->isDictionary()) continue;
        const kz::Dictionary& sub = match.rule->dictionary();
        if (const kz::Value* restore = sub.find("restore")) {
            if (!info) info.emplace(typeSelf, valueSelf);
            if (restore->isDictionary()) {
                for (const auto& [k, v] : restore->dictionary()) info->addRestore(k, v.stringValue());
            } else {
                info->addRestore(keyword, restore->stringValue());
            }
        } else {
            std::optional<ConflictInfo> nested = findConflict(sub, typeSelf, valueSelf, lookup, depth + 1);
            if (!nested) continue;
            if (info) info->merge(*nested);
            else info = std::move(nested);
        }
        info->addConflicted(keyword, RulePattern::conflictedType(*match.pattern, *value),
                            RulePattern::conflictedValue(*match.pattern, *value));
    }
    return info;
}

std::optional<ConflictInfo> findUnrestorable(const kz::Dictionary& rule, int typeSelf, const std::string& valueSelf,
                                             const Lookup& lookup, int depth) {
    if (depth > ConflictSearch::kMaxNesting) return std::nullopt;
    for (const auto& [keyword, entry] : rule) {
        if (ConflictSearch::isDialogTextKey(keyword) || !entry.isDictionary()) continue;
        std::optional<std::string> value = lookup(keyword);
        if (!value) continue;
        Found match = firstMatch(entry.dictionary(), *value, true);
        if (!match.rule) continue;
        static const kz::Dictionary kEmpty;
        const kz::Dictionary& sub = match.rule->isDictionary() ? match.rule->dictionary() : kEmpty;
        bool leaf = true;
        for (const auto& [k, v] : sub)
            if (!ConflictSearch::isDialogTextKey(k)) leaf = false;
        std::optional<ConflictInfo> info;
        if (leaf) {
            info.emplace(typeSelf, valueSelf);
            takeTexts(*info, sub);
        } else {
            info = findUnrestorable(sub, typeSelf, valueSelf, lookup, depth + 1);
            if (!info) continue;
        }
        takeTexts(*info, entry.dictionary());
        takeTexts(*info, rule);
        info->addConflicted(keyword, RulePattern::conflictedType(*match.pattern, *value),
                            RulePattern::conflictedValue(*match.pattern, *value));
        return info;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ConflictInfo> ConflictSearch::conflictInfo(const kz::Dictionary& conflicts, const std::string& value,
                                                         const ValueLookup& lookup) {
    for (const auto& [pattern, rule] : conflicts) {
        int type = RulePattern::conflictedType(pattern, value);
        if (type == kRuleNoMatch || !rule.isDictionary()) continue;
        if (auto info = findConflict(rule.dictionary(), type, RulePattern::conflictedValue(pattern, value), lookup, 0))
            return info;
    }
    return std::nullopt;
}

std::optional<ConflictInfo> ConflictSearch::findConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                             const std::string& valueSelf, const ValueLookup& lookup) {
    return findConflict(rule, typeSelf, valueSelf, lookup, 0);
}

std::optional<ConflictInfo> ConflictSearch::findUnrestorableConflictInfo(const kz::Dictionary& rule, int typeSelf,
                                                                         const std::string& valueSelf,
                                                                         const ValueLookup& lookup,
                                                                         bool networkReady) {
    if (!networkReady) return std::nullopt;
    return findUnrestorable(rule, typeSelf, valueSelf, lookup, 0);
}

std::optional<ConflictInfo> ConflictSearch::unrestorableConflictInfo(const kz::Dictionary& conflicts,
                                                                     const std::string& value,
                                                                     const ValueLookup& lookup, bool networkReady) {
    for (const auto& [pattern, rule] : conflicts) {
        if (isDialogTextKey(pattern) || !rule.isDictionary()) continue;
        int type = RulePattern::conflictedType(pattern, value);
        if (type == kRuleNoMatch) continue;
        auto info = findUnrestorableConflictInfo(rule.dictionary(), type, RulePattern::conflictedValue(pattern, value),
                                                 lookup, networkReady);
        if (!info) continue;
        takeTexts(*info, conflicts);
        return info;
    }
    return std::nullopt;
}

}  // namespace ComTORVALEKZ2R4_Plugin
