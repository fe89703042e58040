// Reading description files and checking them against the format.
#include <gtest/gtest.h>

#include "QuillUITestSupport.h"
#include "engine/controls/ControlDescriptionLint.h"

using namespace quilltest;
using kzp::ControlDescription;
using kzp::ControlDescriptionLint;
using Finding = ControlDescriptionLint::Finding;

TEST(ControlDescription, FilesMustBeDictionariesOfBoundedSize) {
    std::string error;
    EXPECT_FALSE(ControlDescription::read("<plist><array/></plist>", &error));
    EXPECT_NE(error.find("not a dictionary"), std::string::npos);
    EXPECT_FALSE(ControlDescription::read("garbage", &error));
    EXPECT_FALSE(ControlDescription::readFile(dataPath("nowhere.plist"), &error));
    EXPECT_FALSE(ControlDescription::read(std::string(ControlDescription::kMaxFileBytes + 1, ' '), &error));
    EXPECT_NE(error.find("larger than"), std::string::npos);
}

TEST(ControlDescription, KeysOfTheWrongTypeReadAsAbsent) {
    kz::Dictionary d{{"min", 0.5}, {"max", "9"}, {"text", kz::Array{}}, {"flag", "YES"}, {"count", "12"}};
    EXPECT_EQ(ControlDescription::text(d, "min"), "0.5");
    EXPECT_EQ(ControlDescription::text(d, "text"), std::nullopt);
    EXPECT_TRUE(ControlDescription::flag(d, "flag"));
    EXPECT_EQ(ControlDescription::integer(d, "count", 0), 12);
    EXPECT_EQ(ControlDescription::integer(d, "text", 7), 7);
    EXPECT_TRUE(ControlDescription::dictionary(d, "min").empty());
}

TEST(ControlDescription, NumericPatternsNeedANumber) {
    for (const char* bad : {"__LESS__:", "__LESS__:ten", "__GREATER__:1.2.3", "__GREATER__:inf", "__LESS__:1e"})
        EXPECT_TRUE(ControlDescription::isMalformedPattern(bad)) << bad;
    for (const char* good : {"__LESS__:10", "__GREATER__:-0.5", "__LESS__:.5", "__GREATER__:1e3", "__ALL__", "A4"})
        EXPECT_FALSE(ControlDescription::isMalformedPattern(good)) << good;
}

TEST(ControlDescriptionLint, ReportsEachPlantedFault) {
    auto file = ControlDescription::readFile(dataPath("bad-controls.plist"));
    ASSERT_TRUE(file);
    std::vector<Finding> findings = ControlDescriptionLint::check(*file);
    std::vector<Finding> expected{
        {"Typo", "unknown control type \"PopUpButton\""},
        {"OneBox", "a CheckBox needs exactly two choices, it has 1"},
        {"Dangling", "\"conflict\" names \"Missing\", which no control of the file edits"},
        {"Dangling", "\"condition\" names \"Elsewhere\", which no control of the file edits"},
        {"Parent", "child control \"Ghost\" has no description"},
        {"Numbers", "\"conflict\" pattern \"__LESS__:\" has no number after its prefix"},
        {"Numbers", "\"conflict\" pattern \"__GREATER__:ten\" has no number after its prefix"},
    };
    EXPECT_EQ(findings, expected);
}

TEST(ControlDescriptionLint, SampleAndTestFilesAreClean) {
    auto sample = ControlDescription::readFile(std::string(KZ_SOURCE_DIR) + "/resources/samples/option-controls.plist");
    ASSERT_TRUE(sample);
    EXPECT_TRUE(ControlDescriptionLint::check(*sample).empty());
    // Unrestorable rules: dialog texts are neither keywords nor patterns;
    // nested rules and restore dictionaries are walked.
    kz::Dictionary file{
        {"A", kz::Dictionary{{"mainKeyword", "A"},
                             {"unrestorable_conflict",
                              kz::Dictionary{{"title", "T"},
                                             {"x", kz::Dictionary{{"message", "M"},
                                                                  {"B", kz::Dictionary{{"title", "t"},
                                                                                       {"y", kz::Dictionary{{"C", kz::Dictionary{{"__LESS__:", kz::Dictionary{}}}}}}}}}}}}}},
        {"B", kz::Dictionary{{"mainKeyword", "B"}}},
        {"Lone", "text"},
    };
    std::vector<Finding> expected{
        {"A", "\"unrestorable_conflict\" names \"C\", which no control of the file edits"},
        {"A", "\"unrestorable_conflict\" pattern \"__LESS__:\" has no number after its prefix"},
        {"Lone", "is a string, not a control description"},
    };
    EXPECT_EQ(ControlDescriptionLint::check(file), expected);
}
