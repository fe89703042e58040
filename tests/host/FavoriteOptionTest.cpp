// `kzpde options --favorite NAME`: the favorite chosen in the panel's menu
// as a user chooses it, from favorite folders and files made here (a
// Shift_JIS file of the old format among them), and the menu in the report.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "../support/ToolRun.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Every run of the tool gets a home of its own, so favorites are the test's.
class FavoriteOptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = fs::path(::testing::TempDir()) / ("kz-favorite-option-" + std::to_string(::getpid()) + "-" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        folder = home / ".config/TORVALE/KZPrintServer/R4/favorite";
        fs::create_directories(folder);
        if (const char* h = std::getenv("HOME")) oldHome = h;
        if (const char* x = std::getenv("XDG_CONFIG_HOME")) oldConfig = x;
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override {
        if (oldHome) ::setenv("HOME", oldHome->c_str(), 1);
        if (oldConfig) ::setenv("XDG_CONFIG_HOME", oldConfig->c_str(), 1);
        fs::remove_all(home);
    }

    void writeFavorite(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / (name + ".pfj"), std::ios::binary) << bytes;
    }
    json options(const std::string& args, int expected = 0) {
        ToolRun r = runKzpde("options " + args + " --json");
        EXPECT_EQ(r.status, expected) << r.out;
        return expected == 0 && r.status == 0 ? json::parse(r.out) : json();
    }

    fs::path home, folder;
    std::optional<std::string> oldHome, oldConfig;
};

}  // namespace

TEST_F(FavoriteOptionTest, AChangeAwayFromTheChosenFavoriteShowsTheOneChangingItem) {
    writeFavorite("Meeting", "2\n4\n0\nComment=\nSP_STAPLEMO=1\t\tSP_OFFSETMO=1\t\t");
    json chosen = options("--favorite Meeting");
    EXPECT_EQ(chosen["favorites"], json::parse(R"({"items": ["Default Settings", "", "Meeting"], "selected": 2,
                                                   "deleteEnabled": true})"));
    EXPECT_EQ(chosen["controls"]["StapleMode"]["value"], "TopLeftCorner") << "the favorite is applied";
    EXPECT_EQ(chosen["controls"]["OffsetMode"]["value"], "PerJob");

    json changed = options("--favorite Meeting --set StapleMode=TopRightCorner --set OffsetMode=PerSet");
    EXPECT_EQ(changed["favorites"],
              json::parse(R"({"items": ["Default Settings", "", "Change Setting: Meeting", "Meeting"], "selected": 2,
                              "deleteEnabled": false})"));
    json back = options("--favorite Meeting --set StapleMode=TopRightCorner --set StapleMode=TopLeftCorner");
    EXPECT_EQ(back["favorites"]["items"].size(), 3u) << back["favorites"];
    EXPECT_EQ(back["favorites"]["selected"], 2);

    ToolRun text = runKzpde("options --favorite Meeting --set StapleMode=None");
    EXPECT_NE(text.out.find("favorites:\n    Default Settings\n    ----\n  * Change Setting: Meeting\n    Meeting\n"
                            "  delete: disabled\n"),
              std::string::npos)
        << text.out;
}

TEST_F(FavoriteOptionTest, TwoSidedPrintingAwayFromTheFavoriteShowsTheChangingItemToo) {
    writeFavorite("OneSided", "2\n4\n0\nComment=\nSP_DUPLEXMO=0\t\tSP_STAPLEMO=1\t\t");
    json changed = options("--favorite OneSided --set DuplexMode=DuplexNoTumble");
    EXPECT_EQ(changed["favorites"]["items"][2], "Change Setting: OneSided") << changed["favorites"];
    EXPECT_EQ(changed["favorites"]["selected"], 2);
    json back = options("--favorite OneSided --set DuplexMode=DuplexNoTumble --set DuplexMode=None");
    EXPECT_EQ(back["favorites"]["items"].size(), 3u) << back["favorites"];
    EXPECT_EQ(back["favorites"]["deleteEnabled"], true);
}

TEST_F(FavoriteOptionTest, WithoutAFavoriteTheDefaultItemStaysAloneAndChosen) {
    json out = options("--set StapleMode=TopRightCorner");
    EXPECT_EQ(out["favorites"],
              json::parse(R"({"items": ["Default Settings"], "selected": 0, "deleteEnabled": false})"));
    EXPECT_EQ(out["controls"]["StapleMode"]["value"], "TopRightCorner");
}

TEST_F(FavoriteOptionTest, AnUnknownNameIsAUsageErrorNamingIt) {
    writeFavorite("Meeting", "2\n4\n0\nComment=\nSP_STAPLEMO=1\t\t");
    ToolRun r = runKzpde("options --favorite 'No such' --set StapleMode=None", true);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("No such"), std::string::npos) << r.out;
    EXPECT_EQ(runKzpde("options --favorite", true).status, 2);
}

TEST_F(FavoriteOptionTest, AnOldShiftJisFavoriteIsChosenByItsJapaneseName) {
    // Version 1 has no language-code line; its text is Shift_JIS. The name
    // is the file's, in UTF-8 as the file system holds it.
    const std::string name = "\xe4\xbc\x9a\xe8\xad\xb0";  // 会議
    fs::copy_file(fs::path(KZ_SOURCE_DIR) / "resources/samples/Meeting-ShiftJIS.pfj", folder / (name + ".pfj"));
    json out = options("--favorite " + name + " --set StapleMode=TopLeftCorner");
    EXPECT_EQ(out["favorites"]["items"][2], name);
    EXPECT_EQ(out["favorites"]["selected"], 2) << "the file holds no staple position to differ from";
    EXPECT_EQ(out["markedChoices"]["VLRGBColorCorrect"], "AdobeRGB");
}

TEST_F(FavoriteOptionTest, SavedSettingsNameTheFavoriteAndKeepTheChangesMadeAfterIt) {
    writeFavorite("Meeting", "2\n4\n0\nComment=\nSP_STAPLEMO=1\t\t");
    const std::string settings = (home / "settings.plist").string();
    options("--favorite Meeting --set StapleMode=TopRightCorner --write-settings " + settings);
    json restored = options("--settings " + settings);
    EXPECT_EQ(restored["controls"]["StapleMode"]["value"], "TopRightCorner");
    EXPECT_EQ(restored["favorites"]["items"][restored["favorites"]["selected"].get<int>()], "Change Setting: Meeting");

    // A favorite that is gone leaves the default chosen.
    fs::remove(folder / "Meeting.pfj");
    json gone = options("--settings " + settings);
    EXPECT_EQ(gone["favorites"]["selected"], 0);
    EXPECT_EQ(gone["controls"]["StapleMode"]["value"], "TopRightCorner");
}
