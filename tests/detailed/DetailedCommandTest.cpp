// kzpde detailed on the built bundle: the panel's button opens the window,
// the steps run in it, and the outcome and print option come back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../support/ToolRun.h"

namespace {

nlohmann::json detailed(const std::string& args, int expectedStatus = 0) {
    ToolRun run = runKzpde("detailed " + args + " --json");
    EXPECT_EQ(run.status, expectedStatus) << args;
    nlohmann::json out = nlohmann::json::parse(run.out, nullptr, false);
    EXPECT_TRUE(out.is_object() && out.contains("dialogs") && out.contains("code") && out.contains("printOption"))
        << run.out;
    return out.is_object() ? out : nlohmann::json::object();
}

TEST(DetailedCommand, AValueSetInEitherStyleIsTakenByOk) {
    for (const char* style : {"tabs", "tree"}) {
        nlohmann::json out = detailed(std::string("--style ") + style + " --set CreaseMode=SaddleFold");
        EXPECT_EQ(out["code"], 1) << style;
        EXPECT_EQ(out["printOption"]["CreaseMode"], "SaddleFold") << style;
        EXPECT_TRUE(out["dialogs"].empty()) << style;
    }
}

TEST(DetailedCommand, OkRefusedByTheCheckShowsItsAlertAndEndsInCancelKeepingTheValues) {
    nlohmann::json out = detailed("--set SecurityPrint=True");
    EXPECT_EQ(out["code"], 0);
    ASSERT_EQ(out["dialogs"].size(), 1u);
    EXPECT_NE(out["dialogs"][0]["text"].get<std::string>().find("Enter the password of the secure print job."),
              std::string::npos);
    EXPECT_EQ(out["dialogs"][0]["answer"], "ok");
    EXPECT_EQ(out["printOption"]["SecurityPrint"], "True");
}

TEST(DetailedCommand, QuestionsTakeTheAnswersGiven) {
    nlohmann::json no = detailed("--set VLSaveFile=TIFF300dpi --set SecurityPrint=True --answer no");
    ASSERT_EQ(no["dialogs"].size(), 1u);
    EXPECT_EQ(no["dialogs"][0]["answer"], "no");
    EXPECT_EQ(no["printOption"]["SecurityPrint"], "False");
    EXPECT_EQ(no["printOption"]["VLSaveFile"], "TIFF300dpi");
    nlohmann::json yes = detailed(
        "--set VLSaveFile=TIFF300dpi --set SecurityPrint=True --set SecurityPrintPassword=abc --answer yes");
    EXPECT_EQ(yes["code"], 1);
    EXPECT_EQ(yes["printOption"]["SecurityPrint"], "True");
    EXPECT_EQ(yes["printOption"]["VLSaveFile"], "None");
}

TEST(DetailedCommand, RevertAndCancelLeaveTheDefaults) {
    EXPECT_EQ(detailed("--set CreaseMode=SaddleFold --revert")["printOption"]["CreaseMode"], "None");
    nlohmann::json cancelled = detailed("--set CreaseMode=SaddleFold --cancel");
    EXPECT_EQ(cancelled["code"], 0);
    EXPECT_EQ(cancelled["printOption"]["CreaseMode"], "None");
}

TEST(DetailedCommand, AnOptionTheWindowDoesNotHoldOrCannotSetFails) {
    EXPECT_EQ(detailed("--set NoSuchOption=1", 1)["code"], 1);
    // The address field is disabled until notification is on.
    detailed("--set MailAddress=someone@example.com", 1);
    EXPECT_EQ(runKzpde("detailed --style sideways").status, 2);
    EXPECT_EQ(runKzpde("detailed --ok --cancel").status, 2);
}

}  // namespace
