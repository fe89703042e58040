// kzpde describe simulate, run as an author of description files runs it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "../support/ToolRun.h"

namespace {

ToolRun simulate(const std::string& args) {
    return runKzpde("describe simulate " + std::string(KZ_SOURCE_DIR) + "/resources/samples/option-rules.plist " + args);
}

}  // namespace

TEST(DescribeSimulate, AnswersDecideTheConflictAndTheStatesFollowTheRules) {
    ToolRun yes = simulate("--set MediaType=Thick --set Duplex=DuplexNoTumble --set Staple=True --answer yes --json");
    ASSERT_EQ(yes.status, 0);
    auto j = nlohmann::json::parse(yes.out);
    ASSERT_EQ(j["dialogs"].size(), 1u);
    EXPECT_EQ(j["dialogs"][0]["answer"], "yes");
    EXPECT_EQ(j["dialogs"][0]["text"],
              "The following properties cannot be set at the same time.\r[Two-Sided]:[Long Edge]\r"
              "[Paper Type]:[Thick Paper]\r\rDo you want to change to the following settings to enable the "
              "selection?\r[Paper Type]:[Plain Paper]\r");
    EXPECT_EQ(j["values"]["Duplex"], "DuplexNoTumble");
    EXPECT_EQ(j["values"]["MediaType"], "Plain");
    EXPECT_EQ(j["values"]["Collate"], "True");  // cooperation
    EXPECT_EQ(j["enabled"]["StaplePosition"], true);  // condition

    j = nlohmann::json::parse(simulate("--set MediaType=Thick --set Duplex=DuplexNoTumble --answer no --json").out);
    EXPECT_EQ(j["values"]["Duplex"], "None");
    EXPECT_EQ(j["values"]["MediaType"], "Thick");
    EXPECT_EQ(j["enabled"]["StaplePosition"], false);

    // Unresolvable conflicts wait for the network data.
    j = nlohmann::json::parse(simulate("--set Duplex=DuplexTumble --set MediaType=Transparency --json").out);
    EXPECT_TRUE(j["dialogs"].empty());
    j = nlohmann::json::parse(
        simulate("--network-ready --set Duplex=DuplexTumble --set MediaType=Transparency --json").out);
    ASSERT_EQ(j["dialogs"].size(), 1u);
    EXPECT_EQ(j["dialogs"][0]["answer"], "ok");
    EXPECT_EQ(j["values"]["MediaType"], "Plain");
}

TEST(DescribeSimulate, TextOutputAndErrors) {
    ToolRun r = simulate("--set Staple=True");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("set Staple=True\n"), std::string::npos);
    EXPECT_NE(r.out.find("  Collate = \"True\"\n"), std::string::npos);
    EXPECT_NE(simulate("--set MediaType=Thick").out.find("StaplePosition = \"TopLeft\" disabled"), std::string::npos);
    EXPECT_EQ(simulate("--set Nothing=1").status, 1);
    EXPECT_EQ(simulate("--set NoEquals").status, 2);
    EXPECT_EQ(simulate("--answer maybe").status, 2);
}
