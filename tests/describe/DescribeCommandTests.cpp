// kzpde describe show and lint, run as a user runs them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "../support/ToolRun.h"

namespace {

const std::string sample = std::string(KZ_SOURCE_DIR) + "/resources/samples/option-controls.plist";
const std::string bad = std::string(KZ_TEST_DATA) + "/engine/quill/bad-controls.plist";

const nlohmann::json* widget(const nlohmann::json& control, const std::string& cls) {
    for (const auto& w : control["widgets"])
        if (w["class"] == cls) return &w;
    return nullptr;
}

}  // namespace

TEST(DescribeShow, JsonGivesEveryWidgetWithItsFrame) {
    for (auto [w, h] : {std::pair{400, 120}, std::pair{250, 60}}) {
        ToolRun r = runKzpde("describe show " + sample + " InputSlot --json --width " + std::to_string(w) + " --height " +
                      std::to_string(h));
        ASSERT_EQ(r.status, 0);
        auto controls = nlohmann::json::parse(r.out);
        ASSERT_EQ(controls.size(), 1u);
        EXPECT_EQ(controls[0]["value"], "Auto");
        const nlohmann::json* popup = widget(controls[0], "PopUpButton");
        ASSERT_TRUE(popup);
        // A label and a head column of 36: (60, H - 48, W - 60, 24).
        EXPECT_EQ((*popup)["frame"], nlohmann::json::array({60, h - 48, w - 60, 24}));
        EXPECT_EQ((*popup)["items"][1]["separator"], true);
        EXPECT_EQ((*popup)["enabled"], true);
    }
}

TEST(DescribeShow, EveryControlOfTheSampleIsBuilt) {
    ToolRun r = runKzpde("describe show " + sample + " --json");
    ASSERT_EQ(r.status, 0);
    auto controls = nlohmann::json::parse(r.out);
    std::map<std::string, nlohmann::json> byName;
    for (const auto& c : controls) byName[c["name"]] = c;
    EXPECT_EQ(byName.size(), 16u);
    EXPECT_EQ(byName["HoldUntil"]["height"], 203);
    int pickers = 0;
    for (const auto& w : byName["HoldUntil"]["widgets"]) pickers += w["class"] == "DatePicker";
    EXPECT_EQ(pickers, 4);
    EXPECT_TRUE(widget(byName["Copies"], "Stepper"));
    const nlohmann::json* secure = widget(byName["JobPassword"], "QuillSecureTextField");
    ASSERT_TRUE(secure);
    EXPECT_EQ((*secure)["hidden"], true);
    EXPECT_EQ(byName["FinishingTitle"]["value"], nullptr);
    // Child controls come from the same file, disabled until "True".
    const nlohmann::json* child = widget(byName["StapleMode"], "QuillUI");
    ASSERT_TRUE(child);
    EXPECT_EQ((*child)["mainKeyword"], "StapleCount");

    ToolRun text = runKzpde("describe show " + sample + " Duplex --width 300 --height 100");
    EXPECT_NE(text.out.find("Matrix [24 4 276 72]"), std::string::npos) << text.out;
}

TEST(DescribeShow, RefusesWhatItCannotShow) {
    EXPECT_EQ(runKzpde("describe show " + sample + " NoSuchControl").status, 1);
    EXPECT_EQ(runKzpde("describe show /nonexistent.plist").status, 1);
    EXPECT_EQ(runKzpde("describe show " + sample + " --width -3").status, 2);
    EXPECT_EQ(runKzpde("describe show").status, 2);
}

TEST(DescribeLint, ReportsPlantedFaultsAndNothingForAGoodFile) {
    ToolRun good = runKzpde("describe lint " + sample);
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, "");
    ToolRun r = runKzpde("describe lint " + bad);
    EXPECT_EQ(r.status, 1);
    for (const char* fault : {": Typo: unknown control type", ": OneBox: a CheckBox needs exactly two choices",
                              ": Dangling: \"condition\" names \"Elsewhere\"", ": Parent: child control \"Ghost\"",
                              ": Numbers: \"conflict\" pattern \"__LESS__:\""})
        EXPECT_NE(r.out.find(bad + fault), std::string::npos) << fault;
    EXPECT_EQ(runKzpde("describe lint /nonexistent.plist").status, 1);
}
