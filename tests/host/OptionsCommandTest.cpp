// `kzpde options` as a user runs it on the embedded sample printer: the JSON
// it prints, its exit statuses, values that the settings escape, settings
// files written and read back, and passwords that never show.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "../support/ToolRun.h"

namespace {

using nlohmann::json;

std::string tempPath(const std::string& name) { return ::testing::TempDir() + "/" + name; }

// A shell word for any text.
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

json options(const std::string& args, int expected = 0) {
    ToolRun r = runKzpde("options " + args + " --json");
    EXPECT_EQ(r.status, expected) << r.out;
    return expected == 0 ? json::parse(r.out) : json();
}

nlohmann::ordered_json orderedOptions(const std::string& args) {
    ToolRun r = runKzpde("options " + args + " --json");
    EXPECT_EQ(r.status, 0) << r.out;
    return nlohmann::ordered_json::parse(r.out);
}

std::optional<std::string> customEntryKey(const json& settings, const std::string& keyword) {
    const std::string suffix = ".print.PrintSettingsTicket." + keyword;
    for (const auto& [key, value] : settings.items())
        if (key.size() > suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0)
            return key;
    return std::nullopt;
}

std::optional<std::string> customEntry(const json& settings, const std::string& keyword) {
    auto key = customEntryKey(settings, keyword);
    if (!key) return std::nullopt;
    return settings[*key].get<std::string>();
}

}  // namespace

TEST(OptionsCommand, PrintsOneObjectOfSettingsChoicesJobOptionsSummaryDialogsAndControls) {
    const json out = options("--set StapleMode=TopLeftCorner");
    std::vector<std::string> keys;
    const nlohmann::ordered_json ordered = orderedOptions("--set StapleMode=TopLeftCorner");
    for (const auto& [key, value] : ordered.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"printSettings", "markedChoices", "jobOptions", "summary", "dialogs",
                                               "controls", "trayWindows", "jobName", "favorites", "panel",
                                               "pageSetup"}));
    EXPECT_EQ(out["markedChoices"]["StapleMode"], "TopLeftCorner");
    EXPECT_EQ(out["jobOptions"]["StapleMode"], "TopLeftCorner");
    // The panel's own controls, each with its choices and state.
    const json& staple = out["controls"]["StapleMode"];
    EXPECT_EQ(staple["value"], "TopLeftCorner");
    EXPECT_TRUE(staple["enabled"].is_boolean());
    EXPECT_TRUE(staple["hidden"].is_boolean());
    ASSERT_TRUE(staple["items"].is_array());
    EXPECT_EQ(staple["items"][0]["value"], "None");
    for (const char* own : {"DuplexMode", "PagePrintOnCenter", "Punch_PunchHoles", "Fold", "OutputTray", "OffsetMode",
                            "VLInputSlot"})
        EXPECT_TRUE(out["controls"].contains(own)) << own;
    EXPECT_FALSE(out["summary"].empty());
}

TEST(OptionsCommand, RefusesAKeyNoControlHasAndAValueThatIsNoChoiceNamingThem) {
    ToolRun unknown = runKzpde("options --set NoSuchOption=1", true);
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.out.find("NoSuchOption"), std::string::npos) << unknown.out;
    ToolRun wrong = runKzpde("options --set StapleMode=Sideways --json", true);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.out.find("Sideways"), std::string::npos) << wrong.out;
    EXPECT_EQ(wrong.out.find('{'), std::string::npos) << "nothing printed but the refusal";
    EXPECT_EQ(runKzpde("options --set").status, 2);
    EXPECT_EQ(runKzpde("options --set =x").status, 2);
    EXPECT_EQ(runKzpde("options --answer maybe").status, 2);
    EXPECT_EQ(runKzpde("options --printer a --ppd b").status, 2);
}

TEST(OptionsCommand, TextsWithPercentCommaAndApostropheAreStoredEscapedAndChoicesComeBack) {
    const std::string text = "50%,'5'%x27";
    const std::string saved = tempPath("options-escape.plist");
    const json first = options("--set VLInputSlot=TrayStock --set " + quoted("StockName=" + text) +
                               " --set StapleMode=TopLeftCorner --write-settings " + saved);
    EXPECT_EQ(customEntry(first["printSettings"], "StockName"), "50%x25%x2C%x275%x27%x25x27");
    EXPECT_EQ(first["jobOptions"][customEntryKey(first["printSettings"], "StockName").value_or("")], "50%x25%x2C%x275%x27%x25x27");
    const json again = options("--settings " + saved);
    EXPECT_EQ(again["markedChoices"]["VLInputSlot"], "TrayStock");
    EXPECT_EQ(again["markedChoices"]["StapleMode"], "TopLeftCorner");
}

// A pane's text depends on the panel's tray choice; both come back.
TEST(OptionsCommand, APanesTextComesBackFromTheSettingsFile) {
    const std::string saved = tempPath("options-text.plist");
    options("--set VLInputSlot=TrayStock --set " + quoted("StockName=50%,'5'") + " --write-settings " + saved);
    const json again = options("--settings " + saved);
    EXPECT_EQ(customEntry(again["printSettings"], "StockName"), "50%x25%x2C%x275%x27");
    EXPECT_EQ(again["markedChoices"]["VLInputSlot"], "TrayStock");
}

TEST(OptionsCommand, AHostileSettingsFileIsRefusedWithExitOne) {
    const std::string bad = tempPath("options-hostile.plist");
    std::ofstream(bad) << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>a</key><data>AAAA</data></dict></plist>";
    ToolRun r = runKzpde("options --settings " + bad, true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(bad), std::string::npos) << r.out;
    EXPECT_EQ(runKzpde("options --settings " + tempPath("no-such.plist")).status, 1);
}

TEST(OptionsCommand, APasswordShowsMaskedInTextJsonAndErrors) {
    const std::string password = "Sesame-42";
    const std::string args = "options --set SecurityPrint=True --set SecurityPrintPassword=" + password;
    ToolRun text = runKzpde(args, true);
    ToolRun withErrors = runKzpde(args + " --json", true);
    ASSERT_EQ(text.status, 0) << text.out;
    ASSERT_EQ(withErrors.status, 0) << withErrors.out;
    EXPECT_EQ(text.out.find(password), std::string::npos);
    EXPECT_EQ(withErrors.out.find(password), std::string::npos);
    EXPECT_NE(text.out.find("********"), std::string::npos) << text.out;
    const json object = options("--set SecurityPrint=True --set SecurityPrintPassword=" + password);
    EXPECT_EQ(customEntry(object["printSettings"], "SecurityPrintPassword"), "********");
    // The job carries it as its password, not as a custom entry.
    EXPECT_EQ(object["jobOptions"]["job-password"], "********");
    EXPECT_FALSE(object["jobOptions"].contains(customEntryKey(object["printSettings"], "SecurityPrintPassword").value_or("")));
}

TEST(OptionsCommand, ASuccessfulRunIsQuietUnlessAskedAndNeverShowsThePassword) {
    const std::string password = "Sesame-42";
    const std::string args = "options --set SecurityPrint=True --set SecurityPrintPassword=" + password;
    ToolRun quiet = runKzpdeErrors(args);
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, "") << "a successful run writes nothing on standard error";

    // Asked for, the diagnostic lines come (the password library's among
    // them), with the password masked like everywhere else.
    for (const auto& [env, flag] : {std::pair<std::string, std::string>{"", "--verbose "}, {"KZ_LOG=stderr", ""}}) {
        ToolRun verbose = runKzpdeErrors(flag + args, env);
        EXPECT_EQ(verbose.status, 0) << verbose.out;
        EXPECT_NE(verbose.out.find("ENCODE:\n"), std::string::npos) << env << flag << verbose.out;
        EXPECT_EQ(verbose.out.find(password), std::string::npos) << verbose.out;
    }
}

TEST(OptionsCommand, ARefusedDetailedWindowTellsItsAlertsWholeTextOnOneLine) {
    // The consistency check's alert says what is missing in its second text.
    ToolRun r = runKzpde("options --set SecurityPrint=True", true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("the detailed settings window refused OK: Settings that printing needs are missing. "
                         "Enter the password of the secure print job.\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}
