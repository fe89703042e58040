// kzpde options --save-favorite and kzpde favorite manage on favorite
// folders of their own, as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "../support/ToolRun.h"
#include "TempFolder.h"
#include "engine/favorites/FavoriteFile.h"

namespace {

namespace kzp = ComTORVALEKZ2R4_Plugin;

class FavoriteTool : public ::testing::Test {
protected:
    std::string env() const { return "XDG_CONFIG_HOME=" + _config.path() + " "; }
    ToolRun run(const std::string& args, bool withErrors = false, const std::string& more = {}) {
        std::string command = "env " + env() + more + std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args +
                              (withErrors ? " 2>&1" : " 2>/dev/null");
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        int status = pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }
    std::string folder() const { return _config.path() + "/TORVALE/KZPrintServer/R4/favorite"; }
    std::string path(const std::string& name) const { return kzp::FavoriteFile::pathWithName(name, folder()); }
    static nlohmann::json json(const ToolRun& r) { return nlohmann::json::parse(r.out, nullptr, false); }

    TempFolder _config;
};

TEST_F(FavoriteTool, SavesThePanelsValuesThroughTheSaveDialog) {
    ToolRun saved = run("options --set DuplexMode=DuplexNoTumble --save-favorite Weekly --comment 'every week' --json");
    ASSERT_EQ(saved.status, 0) << saved.out;
    EXPECT_EQ(json(saved)["savedFavorite"], path("Weekly"));
    kzp::FavoriteFile file(path("Weekly"));
    ASSERT_TRUE(file.options());
    EXPECT_EQ(file.comment(), "every week");
    EXPECT_FALSE(file.options()->empty());

    // Saved again over itself with only the name given, the favorite keeps
    // the comment the dialog offered; an empty --comment clears it.
    ASSERT_EQ(run("options --favorite Weekly --set StapleMode=TopLeftCorner --save-favorite Weekly").status, 0);
    EXPECT_EQ(kzp::FavoriteFile(path("Weekly")).comment(), "every week");
    ASSERT_EQ(run("options --favorite Weekly --save-favorite Weekly --comment ''").status, 0);
    EXPECT_EQ(kzp::FavoriteFile(path("Weekly")).comment().value_or("?"), "");

    ToolRun tooLong = run("options --save-favorite " + std::string(28, 'x'), true);
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_NE(tooLong.out.find("This favorite name cannot be used."), std::string::npos) << tooLong.out;
    ToolRun standard = run("options --save-favorite \"Default Settings\"", true);
    EXPECT_EQ(standard.status, 1);
    EXPECT_NE(standard.out.find("The name of the standard favorite cannot be used."), std::string::npos);
    EXPECT_EQ(run("options --comment lonely").status, 2);
}

TEST_F(FavoriteTool, ManageReportsAlertsAndOutcomeAndChangesFilesOnlyOnOk) {
    ASSERT_EQ(run("options --save-favorite Weekly").status, 0);
    ASSERT_EQ(run("options --save-favorite Daily").status, 0);
    std::filesystem::copy_file(std::string(KZ_SOURCE_DIR) + "/resources/samples/Meeting-ShiftJIS.pfj",
                               path("Meeting-ShiftJIS"));

    ToolRun refused = run("favorite manage --rename Weekly=Daily --delete Daily --cancel --json");
    EXPECT_EQ(refused.status, 0);
    EXPECT_EQ(json(refused), nlohmann::json::parse(
                                 R"({"alerts": ["A favorite named \"Daily\" already exists."], "code": 0})"));
    EXPECT_TRUE(std::filesystem::exists(path("Daily")));
    EXPECT_TRUE(std::filesystem::exists(path("Weekly")));

    ToolRun done = run("favorite manage --rename Weekly=Monthly --comment Meeting-ShiftJIS=会議 --json");
    EXPECT_EQ(json(done), nlohmann::json::parse(R"({"alerts": [], "code": 1})"));
    EXPECT_FALSE(std::filesystem::exists(path("Weekly")));
    EXPECT_TRUE(std::filesystem::exists(path("Monthly")));
    kzp::FavoriteFile meeting(path("Meeting-ShiftJIS"));
    ASSERT_TRUE(meeting.options());
    EXPECT_EQ(meeting.comment(), "会議");

    ToolRun missing = run("favorite manage --delete Nobody");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "ok\n");
    EXPECT_EQ(run("favorite manage --rename Weekly").status, 2);
}

TEST_F(FavoriteTool, ACommentTheFieldRefusesIsAFailureAndLosesNothing) {
    ASSERT_EQ(run("options --save-favorite Weekly --comment keep").status, 0);
    const std::string tooLong(256, 'c');
    ToolRun managed = run("favorite manage --comment Weekly=" + tooLong, true);
    EXPECT_EQ(managed.status, 1) << managed.out;
    EXPECT_NE(managed.out.find("the comment of Weekly was refused"), std::string::npos) << managed.out;
    EXPECT_EQ(kzp::FavoriteFile(path("Weekly")).comment(), "keep");

    ToolRun saved = run("options --save-favorite Daily --comment " + tooLong, true);
    EXPECT_EQ(saved.status, 1) << saved.out;
    EXPECT_NE(saved.out.find("the comment was refused"), std::string::npos) << saved.out;
    EXPECT_FALSE(std::filesystem::exists(path("Daily")));
    ASSERT_EQ(run("options --save-favorite Weekly --comment " + std::string(255, 'c')).status, 0);
    EXPECT_EQ(kzp::FavoriteFile(path("Weekly")).comment(), std::string(255, 'c'));
}

TEST_F(FavoriteTool, AnImportedFavoriteDeletedAgainLeavesTheFileItCameFrom) {
    TempFolder elsewhere;
    const std::string outside = elsewhere.path() + "/Outside.pfj";
    std::filesystem::copy_file(std::string(KZ_SOURCE_DIR) + "/resources/samples/Duplex.pfj", outside);
    ASSERT_EQ(run("options --save-favorite Weekly").status, 0);
    TempFolder data;  // the trash
    ToolRun done = run("favorite manage --import " + outside + " --delete Outside --delete Weekly --json", false,
                       "XDG_DATA_HOME=" + data.path() + " ");
    EXPECT_EQ(json(done), nlohmann::json::parse(R"({"alerts": [], "code": 1})")) << done.out;
    EXPECT_TRUE(std::filesystem::exists(outside)) << "the original is no favorite of the folder";
    EXPECT_FALSE(std::filesystem::exists(path("Outside")));
    EXPECT_FALSE(std::filesystem::exists(path("Weekly")));
    EXPECT_TRUE(std::filesystem::exists(data.path() + "/Trash/files/Weekly.pfj"))
        << "a favorite of the folder goes to the trash";
    EXPECT_FALSE(std::filesystem::exists(data.path() + "/Trash/files/Outside.pfj"));

    // Renamed like a favorite of the folder, where it is to be copied, an
    // imported one clashes, as a second import of that name would.
    ASSERT_EQ(run("options --save-favorite Daily --comment mine").status, 0);
    ToolRun clash = run("favorite manage --import " + outside + " --rename Outside=Daily --json");
    EXPECT_EQ(json(clash), nlohmann::json::parse(
                               R"({"alerts": ["A favorite named \"Daily\" already exists."], "code": 1})"))
        << clash.out;
    EXPECT_EQ(kzp::FavoriteFile(path("Daily")).comment(), "mine");
    EXPECT_TRUE(std::filesystem::exists(path("Outside"))) << "imported under its own name";
}

TEST_F(FavoriteTool, AnExportThatCannotBeWrittenIsSaidAndFails) {
    ASSERT_EQ(run("options --save-favorite Weekly").status, 0);
    TempFolder elsewhere;
    ToolRun failed = run("favorite manage --export Weekly=" + elsewhere.path() + "/missing/Weekly.pfj --json");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(json(failed), nlohmann::json::parse(R"({"alerts": ["The favorite could not be saved."], "code": 1})"))
        << failed.out;
    ToolRun done = run("favorite manage --export Weekly=" + elsewhere.path() + "/Weekly.pfj --json");
    EXPECT_EQ(done.status, 0);
    EXPECT_TRUE(kzp::FavoriteFile(elsewhere.path() + "/Weekly.pfj").options());
}

TEST_F(FavoriteTool, JapaneseNamesCountTwoBytesACharacter) {
    ASSERT_EQ(run("options --save-favorite Plain").status, 0);
    std::string thirteen;
    for (int i = 0; i < 13; ++i) thirteen += "会";
    ToolRun refused = run("favorite manage --rename Plain=" + thirteen + "議 --json", false, "LANGUAGE=ja ");
    ASSERT_TRUE(json(refused).is_object()) << refused.out;
    EXPECT_EQ(json(refused)["alerts"].size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(path("Plain")));
    ToolRun taken = run("favorite manage --rename Plain=" + thirteen + " --json", false, "LANGUAGE=ja ");
    EXPECT_EQ(json(taken), nlohmann::json::parse(R"({"alerts": [], "code": 1})"));
    EXPECT_TRUE(std::filesystem::exists(path(thirteen)));
}

}  // namespace
