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
    ASSERT_EQ(rows.size(), 10u);
    for (const auto& row : rows) {
        EXPECT_EQ(row["depth"], 0);
        EXPECT_EQ(row["expanded"], false);
        EXPECT_EQ(row["icon"], "folder");
    }
    EXPECT_EQ(rows[0]["text"], "Panel Settings");
    EXPECT_EQ(rows[1]["text"], "Page");
}

// The panel's own options are in no pane: their folder lists them, and a
// favorite that staples or prints 2-sided shows that difference there.
TEST(TreeCommand, ThePanelsOwnOptionsHaveAFolderThatMarksAFavoritesChanges) {
    ToolRun run = runKzpde("tree --favorite " + std::string(KZ_SOURCE_DIR) + "/resources/samples/Duplex.pfj --json");
    ASSERT_EQ(run.status, 0) << run.out;
    nlohmann::json rows = rowsOf(run);
    const nlohmann::json* folder = rowTitled(rows, "Panel Settings");
    ASSERT_NE(folder, nullptr) << rows;
    EXPECT_EQ((*folder)["expanded"], true);
    const nlohmann::json* twoSided = rowTitled(rows, "2-Sided Printing");
    ASSERT_NE(twoSided, nullptr) << rows;
    EXPECT_EQ((*twoSided)["icon"], "differs");
    for (const char* same : {"Staple", "Punch", "Fold", "Offset", "Print on the Center of the Page"}) {
        const nlohmann::json* row = rowTitled(rows, same);
        ASSERT_NE(row, nullptr) << same << rows;
        EXPECT_EQ((*row)["icon"], "item") << same;
    }

    TempFolder temp;
    std::ofstream(temp / "Staple.pfj") << "2\n4\n0\nComment=\nSP_STAPLEMO=1\t\tSP_OFFSETMO=2\t\t";
    run = runKzpde("tree --favorite " + temp / "Staple.pfj");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("- Panel Settings  [folder]\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("    Staple  [differs]\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("    Offset  [differs]\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("    2-Sided Printing  [item]\n"), std::string::npos) << run.out;
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
