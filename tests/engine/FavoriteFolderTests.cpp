#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "Common/Util/FileUtil.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "engine/favorites/FavoriteFile.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Image.h"
#include "platform/kit/PopUpButton.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

using namespace ComTORVALEKZ2R4_Plugin;

namespace {

// Points the shared preferences at the test bundle and the config folder at
// a fresh temporary one, and puts both back afterwards.
class FavoriteFolders : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old) _savedConfig = old;
        ::setenv("XDG_CONFIG_HOME", _config.path().c_str(), 1);
        prefs().setBundle(kz::Bundle::open(std::string(KZ_TEST_DATA) + "/engine/Test.plugin"));
        ASSERT_TRUE(prefs().bundle());
    }
    void TearDown() override {
        prefs().setBundle(nullptr);
        if (_savedConfig) {
            ::setenv("XDG_CONFIG_HOME", _savedConfig->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }
    static AppPreference& prefs() { return AppPreference::sharedInstance(); }
    std::string favorites() const { return _config / "TORVALE/Product/Sub/favorite"; }

    TempFolder _config;
    std::optional<std::string> _savedConfig;
};

}  // namespace

TEST_F(FavoriteFolders, ReadsMiscellaneousForTheBundleOrANamedApplication) {
    EXPECT_EQ(prefs().convertTableFileNameWithAppName(std::nullopt), "TestConvertTable");
    EXPECT_EQ(prefs().convertTableFileNameWithAppName("Other"), "OtherConvertTable");
    EXPECT_EQ(prefs().ppdFileNameWithAppName(std::nullopt), std::nullopt);
    kz::LogCapture log;
    EXPECT_EQ(prefs().convertTableFileNameWithAppName("Unknown"), std::nullopt);
    EXPECT_TRUE(log.contains("### ## fail to retrieve infomations dictionary"));
}

TEST_F(FavoriteFolders, LivesInTheConfigFolderAndIsCreatedOnlyWhenAsked) {
    EXPECT_EQ(prefs().favoriteFolderPathArray(false), std::vector<std::string>{favorites()});
    EXPECT_FALSE(std::filesystem::exists(favorites()));
    prefs().favoriteFolderPathArray(true);
    EXPECT_TRUE(std::filesystem::is_directory(favorites()));

    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    if (!home.empty()) {
        EXPECT_EQ(prefs().favoriteFolderPathArray(false),
                  std::vector<std::string>{home + "/.config/TORVALE/Product/Sub/favorite"});
    }
}

TEST_F(FavoriteFolders, NoFolderWithoutTheBundlesNames) {
    prefs().setBundle(nullptr);
    kz::LogCapture log;
    EXPECT_TRUE(prefs().favoriteFolderPathArray(true).empty());
    EXPECT_TRUE(FavoriteFolder::arrayForFavoritePath().empty());
    EXPECT_EQ(FavoriteFolder::saveFavoriteOnFavoriteDirectory("A", std::nullopt, kz::Dictionary{{"A", "1"}}), std::nullopt);
    EXPECT_TRUE(log.contains("### ## fail to retrieve infomations dictionary"));
}

TEST_F(FavoriteFolders, SavesNamedFavoritesThatTheListingShows) {
    std::optional<std::string> path = FavoriteFolder::saveFavoriteOnFavoriteDirectory("Duplex", std::nullopt,
                                                                              kz::Dictionary{{"CL_RGBMD", 1}});
    ASSERT_EQ(path, favorites() + "/Duplex.pfj");
    FavoriteFile file(*path);
    EXPECT_EQ(file.comment(), "");
    EXPECT_EQ(file.options()->get("CL_RGBMD").string(), "1");

    ASSERT_TRUE(FavoriteFolder::saveFavoriteOnFavoriteDirectory("Duplex", "again", kz::Dictionary{{"A", "2"}}));
    EXPECT_EQ(FavoriteFile(*path).comment(), "again");
    EXPECT_EQ(FavoriteFolder::arrayForFavoritePath(), std::vector<std::string>{*path});

    // Names that would leave the folder or never show in it.
    for (const char* name : {"", "../escape", "a/b", ".hidden"})
        EXPECT_EQ(FavoriteFolder::saveFavoriteOnFavoriteDirectory(name, std::nullopt, kz::Dictionary{{"A", "1"}}),
                  std::nullopt)
            << name;
    EXPECT_FALSE(std::filesystem::exists(_config / "TORVALE/Product/Sub/escape.pfj"));
}

TEST_F(FavoriteFolders, ListingLeavesOutInvisibleItems) {
    ASSERT_TRUE(FavoriteFolder::saveFavoriteOnFavoriteDirectory("Shown", std::nullopt, kz::Dictionary{{"A", "1"}}));
    std::optional<std::string> flagged =
        FavoriteFolder::saveFavoriteOnFavoriteDirectory("Flagged", std::nullopt, kz::Dictionary{{"A", "1"}});
    ASSERT_TRUE(flagged);
    std::filesystem::create_directory(favorites() + "/Folder.pfj");
    std::array<unsigned char, 32> info{};
    info[8] = static_cast<unsigned char>(kzp::kFinderInvisibleFlag >> 8);
    if (setxattr(flagged->c_str(), kzp::kFinderInfoAttribute, info.data(), info.size(), 0) != 0)
        GTEST_SKIP() << "no user extended attributes here";
    EXPECT_EQ(FavoriteFolder::arrayForFavoritePath(), std::vector<std::string>{favorites() + "/Shown.pfj"});
}

TEST_F(FavoriteFolders, PopupHoldsTheDefaultThenEveryFavorite) {
    kz::PopUpButton popup;
    popup.addItemWithTitle("stale");
    FavoriteFolder::buildFavoritePopup(popup);
    ASSERT_EQ(popup.numberOfItems(), 1);
    EXPECT_EQ(popup.indexOfSelectedItem(), 0);
    EXPECT_EQ(popup.itemAtIndex(0)->representedObject(), kz::Value(""));

    FavoriteFolder::saveFavoriteOnFavoriteDirectory("B", std::nullopt, kz::Dictionary{{"A", "1"}});
    FavoriteFolder::saveFavoriteOnFavoriteDirectory("A", std::nullopt, kz::Dictionary{{"A", "1"}});
    FavoriteFolder::buildFavoritePopup(popup);
    ASSERT_EQ(popup.numberOfItems(), 4);
    EXPECT_TRUE(popup.itemAtIndex(1)->isSeparatorItem());
    EXPECT_EQ(popup.itemAtIndex(2)->title(), "A");
    EXPECT_EQ(popup.itemAtIndex(3)->representedObject(), kz::Value(favorites() + "/B.pfj"));
    EXPECT_EQ(popup.indexOfSelectedItem(), 0);
}

TEST_F(FavoriteFolders, ClassicIconFromTheShippedBundleAtTheAskedSize) {
    EXPECT_EQ(prefs().clasicIcon(), nullptr);  // the test bundle has none
    prefs().setBundle(kz::Bundle::open(std::string(KZ_SOURCE_DIR) + "/resources/bundle"));
    std::shared_ptr<kz::Image> icon = prefs().clasicIcon();
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->name(), "Classic");
    EXPECT_EQ(icon->pixelsWide(), 16u);
    EXPECT_EQ(icon->pixel(0, 0) & 0xFF, 0u);   // transparent outside the sheet
    EXPECT_EQ(icon->pixel(8, 12), 0xFAF8F4FFu);  // the paper
    EXPECT_EQ(prefs().clasicIcon(20)->pixelsWide(), 32u);
    EXPECT_EQ(prefs().clasicIcon(1000)->size(), (kz::Size{32, 32}));  // the 64-pixel picture, at double density

    TempFolder broken;
    std::filesystem::create_directories(broken / "Contents/Resources");
    std::ofstream(broken / "Contents/Resources/Classic.icns") << "icns";
    prefs().setBundle(kz::Bundle::open(broken.path()));
    kz::LogCapture log;
    EXPECT_EQ(prefs().clasicIcon(), nullptr);
    EXPECT_TRUE(log.contains("### ## Fail to read the Classic icon"));
}
