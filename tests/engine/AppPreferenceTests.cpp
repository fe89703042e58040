#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "engine/preferences/ProfileReader.h"
#include "platform/foundation/Log.h"

using namespace ComTORVALEKZ2R4_Plugin;

namespace {

std::string fixture(const std::string& name) { return std::string(KZ_TEST_DATA) + "/engine/" + name; }

void touch(const std::string& path) { std::ofstream(path) << "x"; }

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

}  // namespace

TEST(Profile, SplitsAtFirstEqualsAndKeepsALastLineWhole) {
    std::optional<kz::Dictionary> pairs = AppPreference::profileDictionaryWithContentsOfFile(fixture("profile.cps"));
    ASSERT_TRUE(pairs);
    EXPECT_EQ(*pairs, (kz::Dictionary{{"KEY", "later"}, {" Spaced Key ", " v "}, {"LAST", "xyz"}}));
    EXPECT_EQ(ProfileReader::parse("A=1\nB=2\r\n")->get("A").string(), "1");
}

TEST(Profile, FallsBackToDosLatin1) {
    std::optional<kz::Dictionary> pairs = AppPreference::profileDictionaryWithContentsOfFile(fixture("profile-latin.cps"));
    ASSERT_TRUE(pairs);
    EXPECT_EQ(pairs->get("NAME").string(), "Café");
}

TEST(Profile, MissingPathGivesNothingWithItsLogLine) {
    kz::LogCapture log;
    EXPECT_FALSE(AppPreference::profileDictionaryWithContentsOfFile("/nonexistent/p.cps"));
    EXPECT_TRUE(log.contains("### ## fail to read \"/nonexistent/p.cps\" (encoding=4, error=File not found"));
    EXPECT_FALSE(AppPreference::profileDictionaryWithContentsOfFile(""));
    TempFolder folder;
    EXPECT_FALSE(AppPreference::profileDictionaryWithContentsOfFile(folder.path()));
}

TEST(AppPreferenceFolders, CreatesEveryMissingLevelWith0775WhateverTheUmask) {
    TempFolder folder;
    mode_t saved = ::umask(077);
    AppPreference::_createDirectoryRecursively(folder / "a/b/c");
    ::umask(saved);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a/b/c"));
    EXPECT_EQ(modeOf(folder / "a"), 0775u);
    EXPECT_EQ(modeOf(folder / "a/b/c"), 0775u);

    // An existing folder reached through a link keeps its mode.
    std::filesystem::create_directory(folder / "real");
    ::chmod((folder / "real").c_str(), 0700);
    std::filesystem::create_directory_symlink(folder / "real", folder / "link");
    AppPreference::_createDirectoryRecursively(folder / "link");
    EXPECT_EQ(modeOf(folder / "real"), 0700u);
}

TEST(AppPreferenceFolders, ListsOnlyVisibleFavoriteFiles) {
    TempFolder folder;
    for (const char* name : {"b.pfj", "a.pfj", ".b.pfj", "c.txt", "C.PFJ"}) touch(folder / name);
    std::filesystem::create_directory(folder / "d.pfj");
    std::filesystem::create_symlink(folder / "gone", folder / "dangling.pfj");
    EXPECT_EQ(FavoriteFolder::_pathArrayForOneFavoriteFolder(folder.path()),
              (std::vector<std::string>{folder / "a.pfj", folder / "b.pfj"}));

    kz::LogCapture log;
    EXPECT_TRUE(FavoriteFolder::_pathArrayForOneFavoriteFolder(folder / "none").empty());
    EXPECT_TRUE(log.contains("### ## Fail to list \"" + (folder / "none") + "\""));
}

TEST(AppPreferenceLanguage, JapaneseLocalizations) {
    EXPECT_TRUE(AppPreference::isJapaneseLocalization("ja"));
    EXPECT_TRUE(AppPreference::isJapaneseLocalization("Japanese"));
    EXPECT_FALSE(AppPreference::isJapaneseLocalization("en"));
    EXPECT_FALSE(AppPreference::isJapaneseLocalization("English"));
}
