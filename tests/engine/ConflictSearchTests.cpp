// Value patterns, the conflict searches over rule dictionaries, and filling
// dialog texts.
#include <gtest/gtest.h>

#include <map>

#include "QuillMgrTestSupport.h"
#include "engine/rules/ConflictSearch.h"
#include "engine/rules/QuillMgrTexts.h"
#include "engine/rules/RulePattern.h"

using namespace ruletest;
using kzp::ConflictSearch;
using kzp::RulePattern;

namespace {

ConflictSearch::ValueLookup lookup(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const std::string& k) -> std::optional<std::string> {
        auto it = values.find(k);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

}  // namespace

TEST(RulePattern, ThresholdsAreStrictAndAllNeverComparesAsANumber) {
    EXPECT_EQ(RulePattern::conflictedType("__LESS__:10", "9.5"), kzp::kRuleLess);
    EXPECT_EQ(RulePattern::conflictedType("__LESS__:10", "10"), kzp::kRuleNoMatch);
    EXPECT_EQ(RulePattern::conflictedType("__GREATER__:10", "10.01"), kzp::kRuleGreater);
    EXPECT_EQ(RulePattern::conflictedType("__GREATER__:10", "10"), kzp::kRuleNoMatch);
    EXPECT_EQ(RulePattern::conflictedType("__LESS__:10", "__ALL__"), kzp::kRuleNoMatch);
    EXPECT_EQ(RulePattern::conflictedType("__ALL__", "__ALL__"), kzp::kRuleEqual);
    EXPECT_EQ(RulePattern::conflictedType("A4", "A4"), kzp::kRuleEqual);
    EXPECT_EQ(RulePattern::conflictedType("A4", "a4"), kzp::kRuleNoMatch);
    // A value that is no number reads as 0.
    EXPECT_EQ(RulePattern::conflictedType("__LESS__:1", "abc"), kzp::kRuleLess);
    EXPECT_EQ(RulePattern::conflictedValue("__GREATER__:2.5", "3"), "2.5");
    EXPECT_EQ(RulePattern::conflictedValue("__GREATER__:2.5", "1"), "");
    EXPECT_EQ(RulePattern::conflictedValue("A4", "A4"), "");
}

TEST(ConflictSearch, CollectsEveryMatchingKeywordOnceWithTheFirstTypeFound) {
    // B matches directly and again inside C's nested rule (an "and" of three).
    kz::Dictionary conflicts = rules(R"({
        "X": {"B": {"__LESS__:5": {"restore": "9"}}},
        "On": {
            "B": {"__LESS__:5": {"restore": "9"}, "3": {"restore": "1"}},
            "C": {"c1": {"B": {"3": {"restore": {"D": "d2", "B": "7"}}}}},
            "Missing": {"m": {"restore": "x"}}
        }})");
    auto info = ConflictSearch::conflictInfo(conflicts, "On", lookup({{"B", "3"}, {"C", "c1"}, {"D", "d1"}}));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->conflictedTypeSelf, kzp::kRuleEqual);
    EXPECT_EQ(info->conflictedKeyList, (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(info->conflictedTypeOthersDict.at("B"), kzp::kRuleLess);
    EXPECT_EQ(info->conflictedValueOthersDict.at("B"), "5");
    EXPECT_EQ(info->restoreKeyList, (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(info->restoreDict.at("B"), "9");
    EXPECT_EQ(info->restoreDict.at("D"), "d2");

    // A nested rule that does not match drops its keyword.
    EXPECT_FALSE(ConflictSearch::conflictInfo(conflicts, "On", lookup({{"B", "8"}, {"C", "c1"}})));
    // Only the literal "__ALL__" pattern answers an "any change" search.
    EXPECT_FALSE(ConflictSearch::conflictInfo(conflicts, "__ALL__", lookup({{"B", "3"}})));
}

TEST(ConflictSearch, FirstOwnPatternWithAConflictWins) {
    kz::Dictionary conflicts = rules(R"({
        "__GREATER__:10": {"B": {"nope": {"restore": "x"}}},
        "__GREATER__:5": {"B": {"b": {"restore": "y"}}},
        "20": {"B": {"b": {"restore": "z"}}}})");
    auto info = ConflictSearch::conflictInfo(conflicts, "20", lookup({{"B", "b"}}));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->conflictedTypeSelf, kzp::kRuleGreater);
    EXPECT_EQ(info->conflictedValueSelf, "5");
    EXPECT_EQ(info->restoreDict.at("B"), "y");
}

TEST(ConflictSearch, UnrestorableTakesTheFirstMatchAndTheOuterTexts) {
    kz::Dictionary conflicts = rules(R"({
        "title": "Top title",
        "On": {
            "message": "Rule message",
            "B": {"title": "B title", "b": {"title": "Leaf title", "message": "Leaf message"}},
            "C": {"c": {}}
        }})");
    auto values = lookup({{"B", "b"}, {"C", "c"}});
    auto info = ConflictSearch::unrestorableConflictInfo(conflicts, "On", values, true);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->conflictedKeyList, (std::vector<std::string>{"B"}));
    EXPECT_EQ(info->title, "Top title");
    EXPECT_EQ(info->message, "Rule message");

    kz::Dictionary plain = rules(R"({"On": {"B": {"x": {}}, "C": {"title": "C title", "c": {"message": "m"}}}})");
    info = ConflictSearch::unrestorableConflictInfo(plain, "On", values, true);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->conflictedKeyList, (std::vector<std::string>{"C"}));
    EXPECT_EQ(info->title, "C title");
    EXPECT_EQ(info->message, "m");

    // Nested: both levels must match; nothing before the network data is in.
    kz::Dictionary nested = rules(R"({"On": {"B": {"b": {"C": {"c": {}}}}}})");
    info = ConflictSearch::unrestorableConflictInfo(nested, "On", values, true);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->conflictedKeyList, (std::vector<std::string>{"C", "B"}));
    EXPECT_FALSE(ConflictSearch::unrestorableConflictInfo(nested, "On", lookup({{"B", "b"}}), true));
    EXPECT_FALSE(ConflictSearch::unrestorableConflictInfo(nested, "On", values, false));
}

TEST(ConflictSearch, DeeplyNestedRulesStopInsteadOfExhaustingTheStack) {
    kz::Dictionary rule = rules(R"({"B": {"b": {"restore": "x"}}})");
    for (int i = 0; i < 200; ++i) rule = kz::Dictionary{{"B", kz::Dictionary{{"b", rule}}}};
    EXPECT_FALSE(ConflictSearch::findConflictInfo(rule, 3, "", lookup({{"B", "b"}})));
}

TEST(QuillMgrTexts, FillsInOrderAndByPositionAndToleratesBadTranslations) {
    using T = kzp::QuillMgrTexts;
    EXPECT_EQ(T::fill("[%@]:[%@]\r", {"Paper", "A4"}), "[Paper]:[A4]\r");
    EXPECT_EQ(T::fill("%2$@ before %1$@", {"one", "two"}), "two before one");
    EXPECT_EQ(T::fill("%@ %@ %@ 100%% %d %", {"x"}), "x   100% %d %");

    T texts;
    texts.setResourcePath(KZ_TEST_DATA "/engine/rules/Rules.plugin");
    texts.setResourcePath("/elsewhere");  // the first path stays
    EXPECT_EQ(texts.resourcePath(), KZ_TEST_DATA "/engine/rules/Rules.plugin");
    EXPECT_EQ(texts.lookup("Yes"), "Accept");
    EXPECT_EQ(texts.lookup("Unknown key"), "Unknown key");
    EXPECT_EQ(kzp::QuillMgrTexts().lookup("Yes"), "Yes");
}
