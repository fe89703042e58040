// The save dialog: where it starts, what it refuses, what it hands back.
#include "FavoriteTestSupport.h"
#include "engine/dialogs/SaveFavoriteWindowController.h"
#include "platform/kit/Button.h"

namespace {

using namespace favtest;
using Dialog = kzp::SaveFavoriteWindowController;

class SaveFavoriteDialog : public FavoriteFolderTest {};

TEST_F(SaveFavoriteDialog, StartsEmptyForTheDefaultFavoriteAndChecksBeforeSaving) {
    Dialog& dialog = Dialog::sharedInstance();
    std::vector<std::string> alerts;
    look([&](kz::Window& w) {
        EXPECT_EQ(w.title(), "Save Favorite");
        EXPECT_EQ(dialog.nameField()->stringValue(), "");
        EXPECT_EQ(dialog.commentField()->stringValue(), "");
    });
    replace(1, std::string(28, 'n'));  // the field's limit refuses it whole
    _user.press("Save");
    _user.then([&](kz::Application&, kz::Window& w) {
        kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
            if (auto* t = dynamic_cast<kz::TextField*>(&v); t && !t->isEditable() && !t->stringValue().empty())
                alerts.push_back(t->stringValue());
            return false;
        });
        return w.isSheet();
    });
    _user.press("OK");
    look([&](kz::Window& w) { EXPECT_EQ(w.editedField(), dialog.nameField()); });
    replace(1, "Meeting");
    replace(2, "weekly");
    _user.press("Save");
    std::string name = "Default Settings", comment = "kept";
    EXPECT_TRUE(kzp::ShowSaveFavoriteModalDialog(&name, &comment));
    EXPECT_EQ(alerts.size(), 1u);
    EXPECT_EQ(name, "Meeting");
    EXPECT_EQ(comment, "weekly");
}

TEST_F(SaveFavoriteDialog, StartsFromTheFavoriteAndCancelLeavesTheTexts) {
    Dialog& dialog = Dialog::sharedInstance();
    look([&](kz::Window&) {
        EXPECT_EQ(dialog.nameField()->stringValue(), "Meeting");
        EXPECT_EQ(dialog.commentField()->stringValue(), "weekly");
    });
    replace(1, "Other");
    _user.press("Cancel");
    std::string name = "Meeting", comment = "weekly";
    EXPECT_FALSE(kzp::ShowSaveFavoriteModalDialog(&name, &comment));
    EXPECT_EQ(name, "Meeting");
    EXPECT_EQ(comment, "weekly");
    EXPECT_EQ(dialog.showAsModalDialog(std::string("Solo"), std::nullopt), 0);  // nobody acts: aborted
    EXPECT_EQ(dialog.commentField()->stringValue(), "");
}

}  // namespace
