// kzpde tree on the built bundle: a favorite's and a settings file's
// changed option opens its pane and carries the differ icon.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "../support/ToolRun.h"
#include "TempFolder.h"
#include "platform/printing/PrintSettings.h"

namespace {

nlohmann::json rowsOf(const ToolRun& run) {
    nlohmann::json out = nlohmann::json::parse(run.out, nullptr, false);
    return out.is_object() ? out["rows"] : nlohmann::json::array();
}

const nlohmann::json* rowTitled(const nlohmann::json& rows, const std::string& text) {
    for (const auto& row : rows)
        if (row["text"] == text) return &row;
    return nullptr;
}

// Only the finishing pane is open, with the crease row marked.
void expectCreaseMarked(const nlohmann::json& rows) {
    ASSERT_FALSE(rows.empty());
    int expanded = 0;
    for (const auto& row : rows) {
        EXPECT_TRUE(row.contains("text") && row.contains("icon") && row.contains("expanded") && row.contains("depth"));
        if (row["expanded"] == true) ++expanded;
    }
    EXPECT_EQ(expanded, 1);
    const nlohmann::json* finishing = rowTitled(rows, "Finishing");
    ASSERT_NE(finishing, nullptr);
    EXPECT_EQ((*finishing)["expanded"], true);
    EXPECT_EQ((*finishing)["icon"], "folder");
    const nlohmann::json* crease = rowTitled(rows, "Crease");
    ASSERT_NE(crease, nullptr);
    EXPECT_EQ((*crease)["icon"], "differs");
    EXPECT_EQ((*crease)["depth"], 1);
    int differing = 0;
    for (const auto& row : rows) differing += row["icon"] == "differs";
    EXPECT_EQ(differing, 1);
}

TEST(TreeCommand, TheDefaultsOpenNothingAndMarkNothing) {
    ToolRun run = runKzpde("tree --json");
    ASSERT_EQ(run.status, 0);
    nlohmann::json rows = rowsOf(run);
    ASSERT_EQ(rows.size(), 9u);
    for (const auto& row : rows) {
        EXPECT_EQ(row["depth"], 0);
        EXPECT_EQ(row["expanded"], false);
        EXPECT_EQ(row["icon"], "folder");
    }
    EXPECT_EQ(rows[0]["text"], "Page");
}

TEST(TreeCommand, AFavoriteWithOneChangedOptionOpensExactlyItsPane) {
    TempFolder temp;
    std::ofstream(temp / "options.json") << R"({"FN_CREASEMO": 1})";
    ASSERT_EQ(runKzpde("favorite write Folded < " + temp / "options.json").status, 0);
    std::string favorite = std::string(std::getenv("XDG_CONFIG_HOME")) + "/TORVALE/KZPrintServer/R4/favorite/Folded.pfj";
    ToolRun run = runKzpde("tree --favorite '" + favorite + "' --json");
    ASSERT_EQ(run.status, 0) << run.out;
    expectCreaseMarked(rowsOf(run));
    // The text form says the same.
    ToolRun text = runKzpde("tree --favorite '" + favorite + "'");
    EXPECT_NE(text.out.find("- Finishing  [folder]\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("    Crease  [differs]\n"), std::string::npos) << text.out;
}

TEST(TreeCommand, ASettingsFileCustomEntryCountsAsTheUsersValue) {
    TempFolder temp;
    kz::PrintSettings settings;
    settings.setValue("com.torvale.print.PrintSettingsTicket.CreaseMode", kz::Value("ZTriFold"));
    settings.setValue("com.torvale.print.PrintSettingsTicket.NotAnOption", kz::Value("x"));
    ASSERT_TRUE(settings.writeFile(temp / "settings.plist"));
    ToolRun run = runKzpde("tree --settings " + temp / "settings.plist" + " --json");
    ASSERT_EQ(run.status, 0) << run.out;
    expectCreaseMarked(rowsOf(run));
}

TEST(TreeCommand, UnreadableFilesAndBadArgumentsFail) {
    TempFolder temp;
    std::ofstream(temp / "broken.pfj") << "not a favorite";
    EXPECT_EQ(runKzpde("tree --favorite " + temp / "broken.pfj").status, 1);
    EXPECT_EQ(runKzpde("tree --settings " + temp / "missing.plist").status, 1);
    EXPECT_EQ(runKzpde("tree --favorite").status, 2);
    EXPECT_EQ(runKzpde("tree extra").status, 2);
}

}  // namespace
