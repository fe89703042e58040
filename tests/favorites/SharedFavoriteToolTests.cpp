// An administrator's favorites in the shared favorite folder (below each
// folder of XDG_CONFIG_DIRS), as users meet them through the tool: listed
// after their own, chosen with --favorite, never changed from a user's
// session, and there still when a user deletes a favorite of the same name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct ToolOut {
    int status;
    std::string out;
};

class SharedFavorites : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(mine());
        fs::create_directories(shared());
        // Staples at the top left; offsets per job.
        write(shared() + "/Office.pfj", "for everyone", "SP_STAPLEMO=1\t\tSP_OFFSETMO=1\t\t");
        write(shared() + "/Mine.pfj", "the administrator's", "SP_OFFSETMO=1\t\t");
        write(mine() + "/Mine.pfj", "", "SP_STAPLEMO=1\t\t");
    }
    static void write(const std::string& path, const std::string& comment, const std::string& options) {
        std::ofstream(path, std::ios::binary) << "2\n4\n0\nComment=" << comment << "\n" << options;
    }
    std::string mine() const { return _user.path() + "/TORVALE/KZPrintServer/R4/favorite"; }
    std::string shared() const { return _system.path() + "/TORVALE/KZPrintServer/R4/favorite"; }
    // The tool as the user runs it; a relative and a missing folder in the
    // list are passed over.
    ToolOut run(const std::string& args, bool withErrors = false) const {
        const std::string command = "env XDG_CONFIG_HOME=" + _user.path() + " XDG_CONFIG_DIRS=relative/xdg:" +
                                    _system.path() + ":/nonexistent/xdg " + KZ_BINARY_DIR + "/apps/kzpde/kzpde " +
                                    args + (withErrors ? " 2>&1" : " 2>/dev/null");
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        const int status = pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }
    json options(const std::string& args) const {
        ToolOut r = run("options " + args + " --json");
        EXPECT_EQ(r.status, 0) << r.out;
        return json::parse(r.out, nullptr, false);
    }

    TempFolder _user, _system;
};

TEST_F(SharedFavorites, AreListedAfterTheUsersOwnUnderTheirFolder) {
    ToolOut r = run("favorite list");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "folder: " + mine() + "\nMine\nshared folder: " + shared() +
                         "\nMine\tthe administrator's\nOffice\tfor everyone\n");
}

TEST_F(SharedFavorites, AreOfferedInThePanelsMenuMarkedAndAppliedByName) {
    json chosen = options("--favorite Office");
    EXPECT_EQ(chosen["favorites"], json::parse(R"({"items": ["Default Settings", "", "Mine", "", "Mine", "Office"],
                                                   "selected": 5, "deleteEnabled": false, "shared": [4, 5]})"));
    EXPECT_EQ(chosen["controls"]["StapleMode"]["value"], "TopLeftCorner") << "the favorite is applied";
    EXPECT_EQ(chosen["controls"]["OffsetMode"]["value"], "PerJob");

    // The user's favorite of the same name comes first, and is theirs to delete.
    json own = options("--favorite Mine");
    EXPECT_EQ(own["favorites"]["selected"], 2);
    EXPECT_EQ(own["favorites"]["deleteEnabled"], true);
    EXPECT_EQ(own["controls"]["StapleMode"]["value"], "TopLeftCorner");

    ToolOut text = run("options --favorite Office");
    EXPECT_NE(text.out.find("    Mine\n    ----\n    Mine (shared)\n  * Office (shared)\n  delete: disabled\n"),
              std::string::npos)
        << text.out;
}

TEST_F(SharedFavorites, CannotBeRenamedCommentedOrDeletedByAUser) {
    for (const char* action : {"--delete Office", "--rename Office=Elsewhere", "--comment 'Office=mine now'"}) {
        ToolOut r = run(std::string("favorite manage ") + action + " --ok", true);
        EXPECT_EQ(r.status, 1) << action << "\n" << r.out;
        EXPECT_NE(r.out.find("the favorite Office is shared by the administrator (" + shared() + ") and cannot be "),
                  std::string::npos)
            << r.out;
    }
    EXPECT_TRUE(fs::exists(shared() + "/Office.pfj"));
    EXPECT_FALSE(fs::exists(mine() + "/Elsewhere.pfj"));
    EXPECT_FALSE(fs::exists(shared() + "/Elsewhere.pfj"));
    std::ifstream office(shared() + "/Office.pfj");
    std::string header((std::istreambuf_iterator<char>(office)), std::istreambuf_iterator<char>());
    EXPECT_NE(header.find("Comment=for everyone\n"), std::string::npos) << header;
    // Exported, it is a favorite of the user's to do with as they like.
    const std::string copy = _user.path() + "/copy.pfj";
    ToolOut exported = run("favorite manage --export Office=" + copy, true);
    EXPECT_EQ(exported.status, 0) << exported.out;
    EXPECT_TRUE(fs::exists(copy));
}

TEST_F(SharedFavorites, SurviveAUsersDeleteOfTheSameName) {
    ToolOut deleted = run("favorite manage --delete Mine --ok", true);
    ASSERT_EQ(deleted.status, 0) << deleted.out;
    EXPECT_FALSE(fs::exists(mine() + "/Mine.pfj"));
    EXPECT_TRUE(fs::exists(shared() + "/Mine.pfj"));

    ToolOut listed = run("favorite list");
    EXPECT_EQ(listed.out, "folder: " + mine() + "\nshared folder: " + shared() +
                              "\nMine\tthe administrator's\nOffice\tfor everyone\n");
    // The name now finds the administrator's, whose values it has.
    json chosen = options("--favorite Mine");
    EXPECT_EQ(chosen["favorites"]["items"], json::parse(R"(["Default Settings", "", "Mine", "Office"])"));
    EXPECT_EQ(chosen["favorites"]["selected"], 2);
    EXPECT_EQ(chosen["favorites"]["deleteEnabled"], false);
    EXPECT_EQ(chosen["controls"]["OffsetMode"]["value"], "PerJob");
    EXPECT_EQ(chosen["controls"]["StapleMode"]["value"], "None");
}

}  // namespace
