// The favorites manager worked as a user works it: fixed rows, checks on
// Return and on moving the selection, delete, import, export, and what OK
// does to the files.
#include "FavoriteTestSupport.h"
#include "engine/favorites/FavoriteItem.h"
#include "engine/dialogs/FavoriteWindowController.h"
#include "engine/settingstree/PrintOptionTreeDataSource.h"
#include "platform/foundation/FolderLock.h"
#include "platform/foundation/Log.h"
#include "platform/kit/BrowserCell.h"
#include "platform/kit/Button.h"
#include "platform/kit/TableColumn.h"
#include "platform/kit/Font.h"
#include "platform/kit/TableView.h"

namespace {

using namespace favtest;
using Manager = kzp::FavoriteWindowController;

class FavoriteManager : public FavoriteFolderTest {
protected:
    Manager& manager() { return Manager::sharedInstance(); }

    int run(const kz::Dictionary* printOption = nullptr) {
        kz::Dictionary empty;
        return manager().showAsModalDialog(std::nullopt, printOption ? printOption : &empty);
    }
    // Clicks the row of the favorite with the mouse.
    kz::ScriptedUiDriver& clickRowNamed(const std::string& name) {
        return _user.then([this, name](kz::Application&, kz::Window&) {
            const auto& items = manager().favoriteItems();
            for (std::size_t i = 0; i < items.size(); ++i)
                if (items[i]->name() == name) {
                    kz::Application::EventScope event(kz::Event::mouseDown({}));
                    manager().favoriteListView()->clickRow(static_cast<int>(i));
                    return true;
                }
            ADD_FAILURE() << "no row named " << name;
            return false;
        });
    }
    // Takes the text of the alert in front and presses its first button.
    kz::ScriptedUiDriver& acknowledge() {
        return _user.then([this](kz::Application&, kz::Window& w) {
            kz::Button* first = nullptr;
            std::string text;
            kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
                if (auto* b = dynamic_cast<kz::Button*>(&v); b && b->action().selector == "buttonPressed:" && !first)
                    first = b;
                if (auto* t = dynamic_cast<kz::TextField*>(&v); t && !t->isEditable() && !t->stringValue().empty())
                    text = text.empty() ? t->stringValue() : text;
                return false;
            });
            if (!first) {
                ADD_FAILURE() << "no alert in front";
                return false;
            }
            _alerts.push_back(text);
            return first->performClick();
        });
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (const auto& item : manager().favoriteItems()) out.push_back(item->name().value_or(""));
        return out;
    }
    std::vector<std::string> _alerts;
};

bool enabled(kz::Window& w, const char* selector) {
    auto* b = dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && b->action().selector == selector;
    }));
    return b && b->isEnabled();
}

TEST_F(FavoriteManager, FixedRowsCannotBeEditedAndAlwaysPass) {
    write("Alpha", "first");
    kz::Dictionary current{{"VLProbe", kz::Value("shown")}};
    look([&](kz::Window& w) {
        EXPECT_EQ(names(), (std::vector<std::string>{"<Current Settings>", "Default Settings", "Alpha"}));
        EXPECT_EQ(manager().favoriteListView()->selectedRow(), 0);
        EXPECT_FALSE(manager().nameField()->isEnabled());
        EXPECT_FALSE(enabled(w, "clickedDelete:"));
        EXPECT_FALSE(enabled(w, "clickedExport:"));
        EXPECT_TRUE(enabled(w, "clickedImport:"));
        EXPECT_EQ(manager().dataSource().currentPrintOption().get("VLProbe").stringValue(), "shown");
        EXPECT_EQ(manager().nameField()->placeholderString(), "Maximum: 27");
        EXPECT_EQ(manager().commentField()->placeholderString(), "Maximum: 255");
        // The name column holds the fixed rows' names whole beside the row's
        // icon and the cell's margins (32 points); at 150 it showed "<Current Settin...".
        EXPECT_GE(manager().favoriteListView()->tableColumns().at(0)->width(),
                  kz::Font::systemFontOfSize(13).widthOfString("<Current Settings>") + 32);
    });
    _user.clickRow(2, 10);
    look([&](kz::Window& w) {
        EXPECT_TRUE(manager().nameField()->isEnabled());
        EXPECT_TRUE(enabled(w, "clickedDelete:"));
        EXPECT_TRUE(enabled(w, "clickedExport:"));
        EXPECT_EQ(manager().nameField()->stringValue(), "Alpha");
        EXPECT_EQ(manager().commentField()->stringValue(), "first");
    });
    _user.clickRow(1, 10);
    look([&](kz::Window& w) {
        EXPECT_FALSE(manager().commentField()->isEnabled());
        EXPECT_FALSE(enabled(w, "clickedDelete:"));
        // Whatever the fields hold, a fixed row passes.
        manager().nameField()->setStringValue("");
        manager().commentField()->setStringValue(std::string(300, 'x'));
    });
    _user.press("OK");
    EXPECT_EQ(run(&current), 1);
    EXPECT_TRUE(_alerts.empty());
    EXPECT_EQ(commentOf(inFolder("Alpha")), "first");
}

TEST_F(FavoriteManager, TheNameColumnShowsWholeNames) {
    // The longest names the check lets through, and the first fixed row,
    // fit beside the row's icon without being cut.
    write("ABCDEFGHIJKLMNOPQRSTUVWXYZA", "");
    look([&](kz::Window&) {
        kz::TableColumn* column = manager().favoriteListView()->tableColumnWithIdentifier("name");
        ASSERT_NE(column, nullptr);
        const kz::Font& font = column->dataCell().font();
        constexpr double kIconAndMargins = 26;
        for (const std::string& name : {std::string("<Current Settings>"), std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZA"),
                                        std::string("abcdefghijklmnopqrstuvwxyz1")})
            EXPECT_LE(font.widthOfString(name) + kIconAndMargins, column->width()) << name;
    });
    _user.press("Cancel");
    EXPECT_EQ(run(), 0);
}

// The shared mark is on the administrator's favorites only, wherever the
// user's own folder lies.
TEST_F(FavoriteManager, OnlySharedFavoritesWearTheSharedMark) {
    TempFolder system;
    const std::string shared = system.path() + "/TORVALE/KZPrintServer/R4/favorite";
    std::filesystem::create_directories(shared);
    const char* savedDirs = std::getenv("XDG_CONFIG_DIRS");
    const std::optional<std::string> saved = savedDirs ? std::optional<std::string>(savedDirs) : std::nullopt;
    ::setenv("XDG_CONFIG_DIRS", system.path().c_str(), 1);
    write("Mine", "");
    write("Office", "", shared);
    look([&](kz::Window&) {
        kz::TableView* table = manager().favoriteListView();
        kz::TableColumn* column = table->tableColumnWithIdentifier("name");
        ASSERT_NE(column, nullptr);
        const auto& items = manager().favoriteItems();
        for (std::size_t row = 0; row < items.size(); ++row) {
            kz::BrowserCell cell;
            manager().willDisplayCell(*table, cell, column, static_cast<int>(row));
            const bool marked = cell.image() && cell.image()->name() == "Classic";
            EXPECT_EQ(marked, items[row]->name() == "Office") << items[row]->name().value_or("");
        }
    });
    _user.press("Cancel");
    EXPECT_EQ(run(), 0);
    if (saved) ::setenv("XDG_CONFIG_DIRS", saved->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_DIRS");
}

TEST_F(FavoriteManager, ReturnInTheNameChecksTheRowAndKeepsTheWindow) {
    write("Alpha", "a");
    write("Beta", "b");
    clickRowNamed("Alpha");
    replace(1, "Beta");
    _user.pressKey("\r");
    acknowledge();
    look([&](kz::Window& w) {
        EXPECT_EQ(w.editedField(), manager().nameField());  // the field in error has the focus
        EXPECT_EQ(names()[2], "Alpha");
    });
    replace(1, "Gamma");
    _user.pressKey("\r");
    look([&](kz::Window& w) {
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(kz::Application::shared().modalWindow(), &w);
        EXPECT_EQ(names()[2], "Gamma");
    });
    _user.press("OK");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(_alerts, (std::vector<std::string>{"A favorite named \"Beta\" already exists."}));
    EXPECT_FALSE(exists(inFolder("Alpha")));
    EXPECT_EQ(kzp::FavoriteFile(inFolder("Gamma")).options()->get("TagAlpha").stringValue(), "value of Alpha");
    EXPECT_EQ(commentOf(inFolder("Beta")), "b");
}

TEST_F(FavoriteManager, MovingTheSelectionChecksTheRowFirst) {
    write("Alpha", "a");
    write("Beta", "b");
    clickRowNamed("Alpha");
    replace(1, "   ");
    clickRowNamed("Beta");
    acknowledge();
    look([&](kz::Window&) { EXPECT_EQ(manager().favoriteListView()->selectedRow(), 2); });
    replace(1, "Default Settings");
    clickRowNamed("Beta");
    acknowledge();
    replace(1, "Alpha");
    clickRowNamed("Beta");
    look([&](kz::Window&) { EXPECT_EQ(manager().nameField()->stringValue(), "Beta"); });
    _user.press("Cancel");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(_alerts, (std::vector<std::string>{
                           "This favorite name cannot be used. Use at most 27 bytes, not only spaces, and none of / : \\ * ? \" < > |",
                           "The name of the standard favorite cannot be used."}));
}

TEST_F(FavoriteManager, SameNameClashesInOneFolderNotAcrossTwo) {
    TempFolder other;
    write("Alpha", "a");
    write("Beta", "b");
    std::string outside = write("Outside", "o", other.path());
    _user.pickFiles({outside});
    _user.press("Import...");
    clickRowNamed("Alpha");
    replace(1, "Beta");
    _user.pressKey("\r");
    acknowledge();
    replace(1, "Alpha");
    clickRowNamed("Outside");
    replace(1, "Beta");  // lives in another folder: no clash
    _user.pressKey("\r");
    look([&](kz::Window&) { EXPECT_EQ(_alerts.size(), 1u); });
    _user.press("Cancel");
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(_alerts, (std::vector<std::string>{"A favorite named \"Beta\" already exists."}));
    EXPECT_TRUE(exists(inFolder("Alpha")));
    EXPECT_FALSE(exists(inFolder("Outside")));
}

TEST_F(FavoriteManager, TwoRowsOfOneFolderCannotTakeTheSameNewName) {
    write("Alpha", "a");
    write("Beta", "b");
    clickRowNamed("Alpha");
    replace(1, "Gamma");
    _user.pressKey("\r");
    clickRowNamed("Beta");
    replace(1, "Gamma");
    _user.pressKey("\r");
    acknowledge();
    replace(1, "Beta");
    _user.press("OK");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(_alerts, (std::vector<std::string>{"A favorite named \"Gamma\" already exists."}));
    EXPECT_EQ(commentOf(inFolder("Gamma")), "a");
    EXPECT_EQ(commentOf(inFolder("Beta")), "b");
}

TEST_F(FavoriteManager, DeleteWaitsForOk) {
    write("Alpha", "a");
    for (bool ok : {false, true}) {
        clickRowNamed("Alpha");
        _user.press("Delete");
        _user.press("OK");  // the confirmation
        look([&](kz::Window&) {
            EXPECT_EQ(names(), (std::vector<std::string>{"<Current Settings>", "Default Settings"}));
            EXPECT_EQ(manager().favoriteListView()->selectedRow(), 0);
            EXPECT_TRUE(exists(inFolder("Alpha")));
        });
        _user.press(ok ? "OK" : "Cancel");
        EXPECT_EQ(run(), ok ? 1 : 0);
        EXPECT_EQ(exists(inFolder("Alpha")), !ok);
    }
    EXPECT_TRUE(exists(std::string(std::getenv("XDG_DATA_HOME")) + "/Trash/files/Alpha.pfj"));
}

TEST_F(FavoriteManager, ImportRefusesDuplicatesAndUnreadableFilesAndKeepsTheComment) {
    TempFolder other;
    write("Alpha", "a");
    std::string sameName = write("Alpha", "other", other.path());
    std::string broken = other / "Broken.pfj";
    std::ofstream(broken) << "not a favorite\n";
    std::string fresh = write("Fresh", "fresh comment", other.path());
    _user.pickFiles({sameName});
    _user.press("Import...");
    acknowledge();
    _user.pickFiles({broken});
    _user.press("Import...");
    acknowledge();
    _user.pickFiles({fresh});
    _user.press("Import...");
    // Passing through the imported row stores what its fields show.
    clickRowNamed("Fresh");
    clickRowNamed("Alpha");
    _user.press("OK");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(_alerts, (std::vector<std::string>{"A favorite named \"Alpha\" already exists.",
                                                 "The file could not be read as a favorite."}));
    EXPECT_EQ(commentOf(inFolder("Alpha")), "a");
    EXPECT_EQ(commentOf(inFolder("Fresh")), "fresh comment");
    EXPECT_TRUE(exists(fresh));
}

TEST_F(FavoriteManager, ExportWritesTheRowWithItsComment) {
    TempFolder other;
    write("Alpha", "a");
    clickRowNamed("Alpha");
    _user.pickFiles({other / "Copy.pfj"});
    _user.press("Export...");
    _user.press("Cancel");
    EXPECT_EQ(run(), 0);
    kzp::FavoriteFile copy(other / "Copy.pfj");
    ASSERT_TRUE(copy.options());
    EXPECT_EQ(copy.comment(), "a");
    EXPECT_EQ(copy.options()->get("TagAlpha").stringValue(), "value of Alpha");
}

TEST_F(FavoriteManager, FailedMovesAndCopiesAreLoggedAndTheRestIsDone) {
    TempFolder other;
    write("Alpha", "a");
    write("Beta", "b");
    std::filesystem::create_directory(inFolder("Taken"));   // not a favorite: not listed
    std::filesystem::create_directory(inFolder("Import"));
    std::string outside = write("Import", "i", other.path());
    _user.pickFiles({outside});
    _user.press("Import...");
    clickRowNamed("Alpha");
    replace(1, "Taken");
    _user.pressKey("\r");
    clickRowNamed("Beta");
    replace(1, "Delta");
    replace(2, "new comment");
    _user.pressKey("\r");
    _user.press("OK");
    kz::LogCapture log;
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(log.contains("### ## can't move \"" + inFolder("Alpha") + "\" to \"" + inFolder("Taken") + "\""));
    EXPECT_TRUE(log.contains("### ## can't copy \"" + outside + "\" to \"" + inFolder("Import") + "\""));
    EXPECT_TRUE(exists(inFolder("Alpha")));
    EXPECT_FALSE(exists(inFolder("Beta")));
    EXPECT_EQ(commentOf(inFolder("Delta")), "new comment");
    // The hidden names used on the way are gone; the folder's lock file stays.
    for (const auto& entry : std::filesystem::directory_iterator(_folder))
        EXPECT_TRUE(!entry.path().filename().string().starts_with(".") ||
                    entry.path().filename() == kz::FolderLock::kFileName)
            << entry.path();
}

TEST_F(FavoriteManager, FavoritesThatTradeNamesKeepTheirContents) {
    write("Alpha", "a");
    write("Beta", "b");
    clickRowNamed("Alpha");
    replace(1, "Swap");
    _user.pressKey("\r");
    clickRowNamed("Beta");
    replace(1, "Alpha");
    _user.pressKey("\r");
    clickRowNamed("Swap");
    replace(1, "Beta");
    _user.pressKey("\r");
    _user.press("OK");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(commentOf(inFolder("Alpha")), "b");
    EXPECT_EQ(commentOf(inFolder("Beta")), "a");
    EXPECT_FALSE(exists(inFolder("Swap")));
}

TEST_F(FavoriteManager, ClosingTheWindowCancels) {
    write("Alpha", "a");
    clickRowNamed("Alpha");
    replace(1, "Renamed");
    _user.pressKey("\r");
    _user.closeWindow();
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(exists(inFolder("Alpha")));
    EXPECT_FALSE(exists(inFolder("Renamed")));
}

}  // namespace
