// `kzpde options --job-name` as a user runs it: the name goes through the
// panel's job name dialog, whose limit and alert apply, and comes back in
// the report and in a settings file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../support/ToolRun.h"

namespace {

using nlohmann::json;

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string entry(const json& settings, const std::string& keyword) {
    const std::string suffix = ".print.PrintSettingsTicket." + keyword;
    for (const auto& [key, value] : settings.items())
        if (key.ends_with(suffix)) return value.get<std::string>();
    return "(none)";
}

}  // namespace

TEST(JobNameOption, ANameIsTypedIntoTheDialogAndShownInTheLabel) {
    ToolRun r = runKzpde("options --job-name " + quoted("Q3 report, \"final\"") + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    const json out = json::parse(r.out);
    EXPECT_EQ(out["jobName"], (json{{"label", "Q3 report, \"final\""}, {"mode", "Input"}, {"name", "Q3 report, \"final\""}}));
    EXPECT_EQ(entry(out["printSettings"], "VLSpecificJobName"), "Input");
    EXPECT_EQ(entry(out["printSettings"], "JobName"), "Q3 report%x2C \\\"final\\\"");
    for (const char* key : {"printSettings", "markedChoices", "jobOptions", "summary", "dialogs", "controls"})
        EXPECT_TRUE(out.contains(key)) << key;
}

TEST(JobNameOption, AutoAndASettingsFileRoundTrip) {
    const std::string file = ::testing::TempDir() + "/kz-jobname.plist";
    ASSERT_EQ(runKzpde("options --job-name Minutes --write-settings " + quoted(file)).status, 0);
    json restored = json::parse(runKzpde("options --settings " + quoted(file) + " --json").out);
    EXPECT_EQ(restored["jobName"]["label"], "Minutes");

    ToolRun r = runKzpde("options --settings " + quoted(file) + " --job-name auto --json");
    ASSERT_EQ(r.status, 0) << r.out;
    const json out = json::parse(r.out);
    EXPECT_EQ(out["jobName"]["label"], "Auto");
    EXPECT_EQ(out["jobName"]["mode"], "Auto");
    // The typed name stays for the next time the user chooses Input.
    EXPECT_EQ(out["jobName"]["name"], "Minutes");
}

TEST(JobNameOption, TheDialogsAlertFailsTheRun) {
    const std::string longest(255, 'n');
    ToolRun ok = runKzpde("options --job-name " + longest + " --json");
    ASSERT_EQ(ok.status, 0);
    EXPECT_EQ(json::parse(ok.out)["jobName"]["name"], longest);

    for (const std::string& refused : {longest + "n", std::string(), std::string("tab\there")}) {
        ToolRun r = runKzpde("options --job-name " + quoted(refused), true);
        EXPECT_EQ(r.status, 1) << refused;
        EXPECT_NE(r.out.find("--job-name: the job name dialog refused the name: Enter a job name of 1 to 255 characters."),
                  std::string::npos)
            << r.out;
    }
    EXPECT_EQ(runKzpde("options --job-name").status, 2);
    EXPECT_EQ(runKzpde("options --job-name a --job-name b").status, 2);
}
