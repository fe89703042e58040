// The panel's favorites menu: the one item that says the values left the
// chosen favorite, how favorites are compared, applied and deleted, and
// that an edited favorite file is seen on the next change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Common/Security/EncryptUtil.h"
#include "PDE/KemoPDEByCocoa.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/favorites/FavoriteValuesCache.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "host/PanelHost.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Window.h"

using namespace paneltest;
using kzp::KemoPDEByCocoa;

namespace {

constexpr const char* kStaple = "SP_STAPLEMO";  // 0 None, 1 TopLeftCorner, 2 TopRightCorner

class FavoritesMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = fs::path(::testing::TempDir()) / ("kz-favorites-" + std::to_string(::getpid()) + "-" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        fs::create_directories(home);
        if (const char* h = std::getenv("HOME")) oldHome = h;
        if (const char* x = std::getenv("XDG_CONFIG_HOME")) oldConfig = x;
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        kzp::PanePlugInMgr::destroySharedInstance();
        kz::Application::shared().setDriver(&driver);
        bundle = kz::Bundle::open(kBundle);
        ASSERT_NE(bundle, nullptr);
        bundle->setLanguages({"en"});
        kzp::AppPreference::sharedInstance().setBundle(bundle);
    }
    void TearDown() override {
        panel.reset();
        kzp::PanePlugInMgr::destroySharedInstance();
        kz::Application::shared().setDriver(nullptr);
        kzp::PrintOptionConverter::sharedInstance().setConvertTablePath(std::nullopt);
        if (oldHome) ::setenv("HOME", oldHome->c_str(), 1);
        if (oldConfig) ::setenv("XDG_CONFIG_HOME", oldConfig->c_str(), 1);
        fs::remove_all(home);
    }

    std::string saveFavorite(const std::string& name, const kz::Dictionary& tags) {
        auto path = kzp::FavoriteFolder::saveFavoriteOnFavoriteDirectory(name, std::nullopt, tags);
        EXPECT_TRUE(path);
        return path.value_or("");
    }

    // The panel restored and shown in a dialog window.
    void showPanel() {
        host = std::make_shared<MarkingHost>();
        panel = KemoPDEByCocoa::initWithCallback(host, bundle);
        ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
        auto content = std::make_shared<kz::View>();
        window.setContentView(content);
        content->addSubview(panel->panelView());
        panel->willShow();
        menu = panel->favoritePopup();
        ASSERT_NE(menu, nullptr);
    }

    void choose(const std::string& title) {
        ASSERT_TRUE(menu->selectItemWithTitle(title)) << title;
        panel->selectFavorite(menu);
    }

    // A change of one of the panel's options, as its control announces it.
    void change(const std::string& key, const std::string& value) {
        kzp::PanePlugInMgr::sharedInstance().setStringValue(value, key);
        kz::NotificationCenter::defaultCenter().post(key);
    }

    std::vector<std::string> titles() const { return menu->itemTitles(); }
    int changingItems() const {
        int n = 0;
        for (const std::string& t : titles()) n += t.starts_with("Change Setting: ");
        return n;
    }
    static std::optional<std::string> registry(const char* key) {
        return kzp::PanePlugInMgr::sharedInstance().getStringValueFromKey(key);
    }

    fs::path home;
    std::optional<std::string> oldHome, oldConfig;
    kz::ScriptedUiDriver driver;
    std::shared_ptr<kz::Bundle> bundle;
    std::shared_ptr<MarkingHost> host;
    std::shared_ptr<KemoPDEByCocoa> panel;
    kz::Window window{kz::Rect(0, 0, 700, 560)};
    kz::PopUpButton* menu = nullptr;
};

}  // namespace

TEST_F(FavoritesMenuTest, OneChangingItemComesWithAChangeAwayAndGoesWithTheChangeBack) {
    saveFavorite("Meeting", {{kStaple, kz::Value(1)}});
    showPanel();
    ASSERT_EQ(titles().size(), 3u) << "default, separator, Meeting";
    choose("Meeting");
    EXPECT_EQ(registry("StapleMode"), "TopLeftCorner") << "choosing applies the favorite";
    EXPECT_TRUE(panel->deleteFavoriteButton()->isEnabled());

    change("StapleMode", "TopRightCorner");
    ASSERT_EQ(changingItems(), 1);
    EXPECT_EQ(titles()[2], "Change Setting: Meeting") << "right before the favorite's own item";
    EXPECT_EQ(menu->indexOfSelectedItem(), 2);
    EXPECT_EQ(menu->selectedItem()->representedObject(), menu->itemAtIndex(3)->representedObject());
    EXPECT_FALSE(panel->deleteFavoriteButton()->isEnabled());
    EXPECT_EQ(panel->favoritesMenu().currentFavoriteName(), "Meeting");

    change("StapleMode", "None");
    EXPECT_EQ(changingItems(), 1) << "a further change keeps the one item";
    EXPECT_EQ(registry("StapleMode"), "None");

    change("StapleMode", "TopLeftCorner");
    EXPECT_EQ(changingItems(), 0);
    EXPECT_EQ(menu->titleOfSelectedItem(), "Meeting");
    EXPECT_TRUE(panel->deleteFavoriteButton()->isEnabled());
}

TEST_F(FavoritesMenuTest, TheDefaultFavoriteNeverGetsAChangingItemNorUndoesAChange) {
    saveFavorite("Meeting", {{kStaple, kz::Value(1)}});
    showPanel();
    ASSERT_EQ(menu->indexOfSelectedItem(), 0);
    change("StapleMode", "TopRightCorner");
    change("OffsetMode", "Shift");
    EXPECT_EQ(changingItems(), 0);
    EXPECT_EQ(menu->indexOfSelectedItem(), 0);
    EXPECT_EQ(registry("StapleMode"), "TopRightCorner") << "the defaults are not applied again";
    EXPECT_EQ(panel->printOption().get("StapleMode").stringValue(), "TopRightCorner");
    EXPECT_FALSE(panel->deleteFavoriteButton()->isEnabled());

    // Choosing the default item itself does apply the defaults.
    choose("Meeting");
    change("StapleMode", "TopRightCorner");
    menu->selectItemAtIndex(0);
    panel->selectFavorite(menu);
    EXPECT_EQ(changingItems(), 0);
    EXPECT_EQ(registry("StapleMode"), panel->defaultPrintOption().get("StapleMode").stringValue());
}

TEST_F(FavoritesMenuTest, ChoosingTheChangingItemChangesNothing) {
    saveFavorite("Meeting", {{kStaple, kz::Value(1)}});
    showPanel();
    choose("Meeting");
    change("StapleMode", "TopRightCorner");
    ASSERT_EQ(menu->indexOfSelectedItem(), 2);

    menu->selectItemAtIndex(2);
    panel->selectFavorite(menu);
    EXPECT_EQ(registry("StapleMode"), "TopRightCorner");
    EXPECT_EQ(panel->printOption().get("StapleMode").stringValue(), "TopRightCorner");
    EXPECT_EQ(changingItems(), 1);
    EXPECT_FALSE(panel->deleteFavoriteButton()->isEnabled());

    // Choosing another item takes the changing item away, the selection
    // staying on what was chosen.
    saveFavorite("Other", {{kStaple, kz::Value(0)}});
    kzp::FavoriteFolder::buildFavoritePopup(*menu);
    choose("Meeting");
    change("StapleMode", "TopRightCorner");
    choose("Other");
    EXPECT_EQ(changingItems(), 0);
    EXPECT_EQ(menu->titleOfSelectedItem(), "Other");
    EXPECT_EQ(registry("StapleMode"), "None");
}

TEST_F(FavoritesMenuTest, AFavoriteNamedLikeTheChangingItemIsStillAFavorite) {
    std::string path = saveFavorite("Change Setting: Old", {{kStaple, kz::Value(2)}});
    showPanel();
    choose("Change Setting: Old");
    EXPECT_EQ(registry("StapleMode"), "TopRightCorner") << "applied, not taken for the changing item";
    EXPECT_TRUE(panel->deleteFavoriteButton()->isEnabled());
    change("StapleMode", "None");
    EXPECT_EQ(menu->titleOfSelectedItem(), "Change Setting: Change Setting: Old");
    EXPECT_EQ(panel->favoritesMenu().currentFavoritePath(), path);

    EXPECT_FALSE(KemoPDEByCocoa::selectItem(menu, kz::Value("/no/such.pfj")));
    EXPECT_FALSE(KemoPDEByCocoa::selectItem(menu, kz::Value()));
    EXPECT_FALSE(KemoPDEByCocoa::selectItem(nullptr, kz::Value(path)));
    EXPECT_TRUE(KemoPDEByCocoa::selectItem(menu, kz::Value(path)));
    EXPECT_EQ(menu->titleOfSelectedItem(), "Change Setting: Old") << "the favorite's own item, not the changing one";
}

TEST_F(FavoritesMenuTest, NumbersCompareAsDecimalsAndPasswordsByWhatTheyHide) {
    // A table that carries two plain options, so the favorite holds them as
    // they stand.
    fs::path table = home / "ConvertTable.plist";
    kz::Dictionary entries;
    entries.set("NumCopies", kz::Dictionary{{"tagKey", kz::Value("SP_COPIES")}});
    entries.set("VLSecurityPassword", kz::Dictionary{{"tagKey", kz::Value("SC_PASSWORD")}});
    ASSERT_TRUE(kz::PropertyList::writeFile(entries, table.string()));
    kzp::PrintOptionConverter::sharedInstance().setConvertTablePath(table.string());

    const std::string key = "paramoxide=qxlr_data";
    char first[64] = {}, second[64] = {}, other[64] = {};
    kzp::Encryption(key, "0451", first, 1000);
    kzp::Encryption(key, "0451", second, 2000);
    kzp::Encryption(key, "0452", other, 2000);
    ASSERT_STRNE(first, second) << "two scrambles of one password";

    saveFavorite("Copies", {{"SP_COPIES", kz::Value(1)}, {"SC_PASSWORD", kz::Value(first)}});
    showPanel();
    choose("Copies");

    auto differs = [&](const char* copies, const char* password) {
        kz::Dictionary option{{"NumCopies", kz::Value(copies)}, {"VLSecurityPassword", kz::Value(password)},
                              {"NotInTheFavorite", kz::Value("x")}};
        return panel->favoritesMenu().isDifferFromCurrentFavorite(option);
    };
    EXPECT_FALSE(differs("1", first));
    EXPECT_FALSE(differs("1.0", second)) << "1 and 1.0 are one number; the scrambles hide one password";
    EXPECT_FALSE(differs(" 1.00", first));
    EXPECT_TRUE(differs("2", first));
    EXPECT_TRUE(differs("one", first)) << "a text that is no number differs";
    EXPECT_TRUE(differs("1", other));
    EXPECT_TRUE(panel->favoritesMenu().isDifferFromCurrentFavorite({{"NumCopies", kz::Value(true)}}))
        << "a boolean is compared as its text, True";
    EXPECT_FALSE(panel->favoritesMenu().isDifferFromCurrentFavorite({{"NumCopies", kz::Value(kz::Array{})}}))
        << "a value that is no text is not compared";
}

TEST_F(FavoritesMenuTest, AnEditedFavoriteFileIsSeenOnTheNextChangeAndAnUnchangedOneIsNotReadAgain) {
    std::string path = saveFavorite("Meeting", {{kStaple, kz::Value(1)}});
    showPanel();
    choose("Meeting");
    change("StapleMode", "None");
    ASSERT_EQ(changingItems(), 1);
    const int reads = panel->favoriteValuesCache()->reads();
    change("OffsetMode", "Shift");
    change("OffsetMode", "None");
    EXPECT_EQ(panel->favoriteValuesCache()->reads(), reads) << "nothing changed on disk";

    // Another program rewrites the favorite with the value now chosen.
    kzp::FavoriteFile edited;
    edited.setOptions({{kStaple, kz::Value(0)}});
    ASSERT_TRUE(edited.writeToFile(path));
    change("OffsetMode", "Shift");
    EXPECT_EQ(changingItems(), 0) << "the values now are the favorite's";
    EXPECT_EQ(menu->titleOfSelectedItem(), "Meeting");
    EXPECT_EQ(panel->favoriteValuesCache()->reads(), reads + 1);

    // A favorite file that went away is no favorite to differ from.
    fs::remove(path);
    change("StapleMode", "TopRightCorner");
    EXPECT_EQ(changingItems(), 0);
}

TEST_F(FavoritesMenuTest, DeletingTheLastFavoriteAsksThenLeavesTheDefaultItemAlone) {
    std::string path = saveFavorite("Meeting", {{kStaple, kz::Value(1)}});
    showPanel();
    choose("Meeting");

    driver.press("No");
    panel->clickedDeleteFavoriteButton(nullptr);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(titles().size(), 3u);
    // With the default item chosen there is nothing to delete or ask about.
    menu->selectItemAtIndex(0);
    driver.press("Yes");
    panel->clickedDeleteFavoriteButton(nullptr);
    EXPECT_FALSE(driver.finished()) << "no question was asked";
    EXPECT_TRUE(fs::exists(path));
    choose("Meeting");

    panel->clickedDeleteFavoriteButton(nullptr);  // answered by the "Yes" above
    EXPECT_TRUE(driver.finished());
    EXPECT_FALSE(fs::exists(path));
    ASSERT_EQ(titles().size(), 1u) << "the separator goes with the last favorite";
    EXPECT_EQ(menu->indexOfSelectedItem(), 0);
    EXPECT_FALSE(panel->deleteFavoriteButton()->isEnabled());
    EXPECT_EQ(registry("StapleMode"), panel->defaultPrintOption().get("StapleMode").stringValue());
}

TEST_F(FavoritesMenuTest, DeletingOneOfTwoKeepsTheOtherAndTheSeparator) {
    saveFavorite("A", {{kStaple, kz::Value(1)}});
    std::string b = saveFavorite("B", {{kStaple, kz::Value(2)}});
    showPanel();
    choose("B");
    change("StapleMode", "None");
    ASSERT_EQ(changingItems(), 1);
    // Delete is disabled here; a click that comes anyway leaves no item of
    // the deleted favorite behind.
    driver.press("Yes");
    panel->clickedDeleteFavoriteButton(nullptr);
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(titles(), (std::vector<std::string>{menu->itemAtIndex(0)->title(), "", "A"}));
    EXPECT_EQ(menu->indexOfSelectedItem(), 0);
}

TEST_F(FavoritesMenuTest, DeletingAFavoriteWhoseFileWentAwayMeanwhileTakesItsItemToo) {
    saveFavorite("A", {{kStaple, kz::Value(1)}});
    std::string b = saveFavorite("B", {{kStaple, kz::Value(2)}});
    showPanel();
    choose("B");
    fs::remove(b);
    driver.press("Yes");
    panel->clickedDeleteFavoriteButton(nullptr);
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(titles(), (std::vector<std::string>{menu->itemAtIndex(0)->title(), "", "A"}));
    EXPECT_EQ(menu->indexOfSelectedItem(), 0);
    EXPECT_FALSE(panel->deleteFavoriteButton()->isEnabled());
}

TEST_F(FavoritesMenuTest, TheFavoriteNamedInThePrintSettingsIsChosenWithoutUndoingTheSettings) {
    std::string path = saveFavorite("Meeting", {{kStaple, kz::Value(1)}});
    host = std::make_shared<MarkingHost>();
    host->settings.setValue(customKey("FavoriteName"), path);
    ppdMarkOption(host->ppd, "StapleMode", "TopRightCorner");
    panel = KemoPDEByCocoa::initWithCallback(host, bundle);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    auto content = std::make_shared<kz::View>();
    window.setContentView(content);
    content->addSubview(panel->panelView());
    panel->willShow();
    menu = panel->favoritePopup();
    ASSERT_NE(menu, nullptr);

    EXPECT_EQ(registry("StapleMode"), "TopRightCorner") << "the settings' value stays";
    ASSERT_EQ(changingItems(), 1) << "and differs from the favorite";
    EXPECT_EQ(menu->titleOfSelectedItem(), "Change Setting: Meeting");

    // Saving names the favorite again; restoring the same settings finds it.
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom("FavoriteName"), path);
    change("StapleMode", "TopLeftCorner");
    ASSERT_EQ(changingItems(), 0);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_EQ(registry("StapleMode"), "TopRightCorner") << host->marked("StapleMode");
    EXPECT_EQ(panel->printOption().get("StapleMode").stringValue(), "TopRightCorner");
    EXPECT_EQ(menu->titleOfSelectedItem(), "Change Setting: Meeting");
}
