#include "engine/controls/ControlDescriptionLint.h"

#include <set>

#include "engine/controls/ControlDescription.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

namespace {

// Nested rules deeper than this are reported rather than walked (property
// lists already stop at 256 levels; no real rule is more than a few deep).
constexpr int kMaxRuleDepth = 64;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

struct ControlDescriptionLint::Context {
    std::set<std::string> keywords;  // the options the file's controls edit
    const kz::Dictionary* file = nullptr;
    std::string control;
    std::vector<Finding> findings;

    void report(std::string message) { findings.push_back({control, std::move(message)}); }
};

std::vector<ControlDescriptionLint::Finding> ControlDescriptionLint::check(const kz::Dictionary& file) {
    Context context;
    context.file = &file;
    for (const auto& [name, value] : file)
        if (auto keyword = CD::nonEmptyText(value.dictionary(), "mainKeyword")) context.keywords.insert(*keyword);
    for (const auto& [name, value] : file) {
        context.control = name;
        if (!value.isDictionary()) {
            context.report(std::string("is a ") + value.typeName() + ", not a control description");
            continue;
        }
        checkControl(context, name, value.dictionary());
    }
    return context.findings;
}

void ControlDescriptionLint::checkControl(Context& context, const std::string&, const kz::Dictionary& d) {
    const kz::Value* type = d.find("control_type");
    if (type && (!type->isString() || !CD::isKnownControlType(type->string())))
        context.report("unknown control type " + quoted(type->stringValue()));

    const kz::Value* choices = d.find("choices");
    if (choices && !choices->isArray()) context.report("\"choices\" is not an array");
    if (choices && choices->isArray())
        for (std::size_t i = 0; i < choices->array().size(); ++i)
            if (!choices->array()[i].isDictionary())
                context.report("choice " + std::to_string(i) + " is not a dictionary");
    if (type && type->isString() && type->string() == "CheckBox") {
        std::size_t count = choices && choices->isArray() ? choices->array().size() : 0;
        if (count != 2) context.report("a CheckBox needs exactly two choices, it has " + std::to_string(count));
    }

    const kz::Value* children = d.find("other_controls");
    if (children && !children->isArray()) context.report("\"other_controls\" is not an array");
    for (const std::string& child : CD::texts(d, "other_controls"))
        if (!context.file->get(child).isDictionary())
            context.report("child control " + quoted(child) + " has no description");

    for (const std::string& key : CD::ruleKeys()) {
        const kz::Value* rules = d.find(key);
        if (!rules) continue;
        if (!rules->isDictionary()) {
            context.report(quoted(key) + " is not a dictionary");
            continue;
        }
        for (const auto& [own, entry] : rules->dictionary()) {
            if (key == "unrestorable_conflict" && CD::isDialogTextKey(own)) continue;
            if (key == "conflict" || key == "unrestorable_conflict") checkPattern(context, key, own);
            if (!entry.isDictionary()) {
                context.report(quoted(key) + " entry " + quoted(own) + " is not a dictionary");
                continue;
            }
            if (key == "conflict") checkConflictRule(context, entry.dictionary(), 0);
            else if (key == "unrestorable_conflict") checkUnrestorableRule(context, entry.dictionary(), 0);
            else
                for (const auto& [keyword, target] : entry.dictionary()) checkKeyword(context, key, keyword);
        }
    }
}

void ControlDescriptionLint::checkPattern(Context& context, const std::string& rule, const std::string& pattern) {
    if (CD::isMalformedPattern(pattern))
        context.report(quoted(rule) + " pattern " + quoted(pattern) + " has no number after its prefix");
}

void ControlDescriptionLint::checkKeyword(Context& context, const std::string& rule, const std::string& keyword) {
    if (!context.keywords.contains(keyword))
        context.report(quoted(rule) + " names " + quoted(keyword) + ", which no control of the file edits");
}

void ControlDescriptionLint::checkConflictRule(Context& context, const kz::Dictionary& rule, int depth) {
    if (depth > kMaxRuleDepth) {
        context.report("\"conflict\" rules nest deeper than " + std::to_string(kMaxRuleDepth));
        return;
    }
    for (const auto& [keyword, patterns] : rule) {
        checkKeyword(context, "conflict", keyword);
        for (const auto& [pattern, outcome] : patterns.dictionary()) {
            checkPattern(context, "conflict", pattern);
            const kz::Dictionary& next = outcome.dictionary();
            if (const kz::Value* restore = next.find("restore")) {
                for (const auto& [restored, value] : restore->dictionary()) checkKeyword(context, "conflict", restored);
            } else {
                checkConflictRule(context, next, depth + 1);
            }
        }
    }
}

void ControlDescriptionLint::checkUnrestorableRule(Context& context, const kz::Dictionary& rule, int depth) {
    if (depth > kMaxRuleDepth) {
        context.report("\"unrestorable_conflict\" rules nest deeper than " + std::to_string(kMaxRuleDepth));
        return;
    }
    for (const auto& [keyword, patterns] : rule) {
        if (CD::isDialogTextKey(keyword)) continue;
        checkKeyword(context, "unrestorable_conflict", keyword);
        for (const auto& [pattern, outcome] : patterns.dictionary()) {
            if (CD::isDialogTextKey(pattern)) continue;
            checkPattern(context, "unrestorable_conflict", pattern);
            bool leaf = true;
            for (const auto& [key, value] : outcome.dictionary())
                if (!CD::isDialogTextKey(key)) leaf = false;
            if (!leaf) checkUnrestorableRule(context, outcome.dictionary(), depth + 1);
        }
    }
}

}  // namespace ComTORVALEKZ2R4_Plugin
