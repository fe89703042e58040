// The panel's favorites buttons while the favorites strip is out of sight:
// Save offers the save dialog and files the new favorite in the menu;
// Browse runs the favorites manager and rebuilds the menu after OK only.
#include <cstdlib>

#include "PanelHost.h"
#include "engine/favorites/FavoriteFile.h"
#include "engine/dialogs/FavoriteWindowController.h"
#include "engine/dialogs/SaveFavoriteWindowController.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TableView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

using namespace paneltest;

namespace {

class PanelFavorites : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) _saved = old;
        _config = fs::path(::testing::TempDir()) / ("kz-favorites-" + std::to_string(::getpid()));
        fs::remove_all(_config);
        fs::create_directories(_config);
        ::setenv("XDG_CONFIG_HOME", _config.c_str(), 1);
    }
    void TearDown() override {
        PanelTest::TearDown();
        ::setenv("XDG_CONFIG_HOME", _saved.c_str(), 1);
        fs::remove_all(_config);
    }
    std::string favorite(const std::string& name) const {
        return (_config / "TORVALE/KZPrintServer/R4/favorite" / (name + ".pfj")).string();
    }
    void replace(long tag, std::string text) {
        driver.then([tag, text](kz::Application&, kz::Window& w) {
            auto* field = dynamic_cast<kz::TextField*>(kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
                auto* f = dynamic_cast<kz::TextField*>(&v);
                return f && f->tag() == tag && f->isEditable();
            }));
            if (!field || !w.makeFirstResponder(field)) return false;
            kz::FieldEditor* editor = field->currentEditor();
            editor->setSelectedRange({0, kz::Utf16::length(editor->string())});
            editor->insertText("");
            editor->insertText(text);
            return true;
        });
    }
    fs::path _config;
    std::string _saved;
};

TEST_F(PanelFavorites, SaveFilesTheFavoriteAndBrowseRebuildsTheMenuAfterOk) {
    makePanel(std::make_shared<MarkingHost>());
    auto view = panel->panelView();
    panel->willShow();
    auto* save = findControl<kz::Button>(view.get(), "clickedSaveFavoriteButton:");
    auto* browse = findControl<kz::Button>(view.get(), "clickedBrowseFavoriteButton:");
    auto* menu = findControl<kz::PopUpButton>(view.get(), "selectFavorite:");
    ASSERT_TRUE(save && browse && menu);
    EXPECT_EQ(browse->title(), "Manage...");

    replace(1, "Weekly");
    replace(2, "every week");
    driver.press("Save");
    save->sendAction();
    ASSERT_TRUE(fs::exists(favorite("Weekly")));
    EXPECT_EQ(kzp::FavoriteFile(favorite("Weekly")).comment(), "every week");
    ASSERT_NE(menu->selectedItem(), nullptr);
    EXPECT_EQ(menu->selectedItem()->title(), "Weekly");
    EXPECT_EQ(menu->selectedItem()->representedObject().stringValue(), favorite("Weekly"));

    // The dialog starts from the favorite the menu shows.
    driver.then([](kz::Application&, kz::Window& w) {
        auto& dialog = kzp::SaveFavoriteWindowController::sharedInstance();
        EXPECT_EQ(dialog.nameField()->stringValue(), "Weekly");
        EXPECT_EQ(dialog.commentField()->stringValue(), "every week");
        return w.isVisible();
    });
    driver.press("Cancel");
    save->sendAction();

    // Renamed in the manager, but cancelled: nothing changes.
    auto renameWeekly = [&] {
        driver.then([](kz::Application&, kz::Window&) {
            auto& manager = kzp::FavoriteWindowController::sharedInstance();
            kz::Application::EventScope event(kz::Event::mouseDown({}));
            return manager.favoriteListView()->clickRow(2);
        });
        replace(1, "Monthly");
        driver.pressKey("\r");
    };
    renameWeekly();
    driver.press("Cancel");
    browse->sendAction();
    EXPECT_TRUE(fs::exists(favorite("Weekly")));
    EXPECT_EQ(menu->selectedItem()->title(), "Weekly");

    renameWeekly();
    driver.press("OK");
    browse->sendAction();
    EXPECT_FALSE(fs::exists(favorite("Weekly")));
    EXPECT_TRUE(fs::exists(favorite("Monthly")));
    // The chosen favorite, renamed, stays chosen under its new name.
    ASSERT_NE(menu->selectedItem(), nullptr);
    EXPECT_EQ(menu->selectedItem()->title(), "Monthly");
    EXPECT_EQ(menu->selectedItem()->representedObject().stringValue(), favorite("Monthly"));
    auto* remove = findControl<kz::Button>(view.get(), "clickedDeleteFavoriteButton:");
    ASSERT_NE(remove, nullptr);
    EXPECT_TRUE(remove->isEnabled());

    // Deleted in the manager: the favorite that was chosen is gone, back to
    // the standard one.
    driver.then([](kz::Application&, kz::Window&) {
        auto& manager = kzp::FavoriteWindowController::sharedInstance();
        kz::Application::EventScope event(kz::Event::mouseDown({}));
        return manager.favoriteListView()->clickRow(2);
    });
    driver.press("Delete");
    driver.press("OK");  // the question
    driver.press("OK");  // the manager
    browse->sendAction();
    EXPECT_FALSE(fs::exists(favorite("Monthly")));
    EXPECT_EQ(menu->indexOfSelectedItem(), 0);
    EXPECT_EQ(menu->numberOfItems(), 1);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_TRUE(driver.finished());
}

}  // namespace
