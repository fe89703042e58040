// The job name dialog on the product's bundle: the modes, the 255-character
// limit and its alert, Cancel, the escaped name, the sheet, and the function
// the panes call.
#include <gtest/gtest.h>

#include "Common/Util/BundleUtil.h"
#include "engine/dialogs/JobNameWinController.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/FieldEditor.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Utf16.h"
#include "platform/kit/Window.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using Dialog = kzp::JobNameWinController;

namespace {

const std::string kAlertText = "Enter a job name of 1 to 255 characters.";

class JobNameDialog : public ::testing::Test {
protected:
    void SetUp() override {
        bundle = kz::Bundle::open(KZ_BUNDLE_DIR);
        ASSERT_NE(bundle, nullptr);
        bundle->setLanguages({"en"});
        kzp::SetNSBundleForPrincipalBundle(bundle);
        kzp::SetNSBundleForLocalizedString(bundle);
        kz::Application::shared().setDriver(&driver);
        ASSERT_NE(dialog().window(), nullptr) << dialog().loadError();
    }
    void TearDown() override {
        kz::Application::shared().setDriver(nullptr);
        Dialog::destroySharedInstance();
        kzp::SetNSBundleForPrincipalBundle(nullptr);
        kzp::SetNSBundleForLocalizedString(nullptr);
    }
    static Dialog& dialog() { return Dialog::sharedInstance(); }

    // A step on the window the user works on.
    void then(std::function<void(kz::Window&)> act) {
        driver.then([act](kz::Application&, kz::Window& w) {
            act(w);
            return true;
        });
    }
    // Chooses "Auto" (row 0) or "Input" (row 1) as a click would.
    void choose(int row) {
        then([row](kz::Window&) { EXPECT_TRUE(dialog().specificJobNameRadio()->clickCellAtRow(row, 0)); });
    }
    // Types into the name field key by key, replacing what it holds.
    void type(const std::string& text) {
        then([text](kz::Window&) {
            kz::TextField* field = dialog().jobNameEdit();
            ASSERT_TRUE(field->beginEditing());
            kz::FieldEditor& editor = *field->currentEditor();
            editor.setSelectedRange({0, kz::Utf16::length(editor.string())});
            editor.deleteBackward();
            for (char c : text) editor.insertText(std::string(1, c));
        });
    }
    // Notes the text of the alert sheet in front, then dismisses it.
    void dismissAlert(std::string* text) {
        then([text](kz::Window& w) {
            EXPECT_TRUE(w.isSheet());
            kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
                auto* f = dynamic_cast<kz::TextField*>(&v);
                if (f && !f->stringValue().empty() && text->empty()) *text = f->stringValue();
                return false;
            });
        });
        driver.press("OK");
    }

    std::shared_ptr<kz::Bundle> bundle;
    kz::ScriptedUiDriver driver;
};

}  // namespace

TEST_F(JobNameDialog, ShowsItsTextsAndStartsAutomatic) {
    kz::Window& w = *dialog().window();
    EXPECT_EQ(w.title(), "Job name setting");
    EXPECT_EQ(dialog().jobNameCaption()->stringValue(), "Job name");
    EXPECT_EQ(dialog().jobNameEdit()->placeholderString(), "Maximum: 255");
    EXPECT_EQ(dialog().specificJobNameRadio()->cellAtRow(1, 0)->title(), "Input");
    EXPECT_EQ(dialog().specificJobName(), "Auto");
    EXPECT_EQ(dialog().jobName(), "");
}

TEST_F(JobNameDialog, AutoDisablesTheNameAndOkTakesWhateverTheFieldHolds) {
    dialog().restoreValues(std::string("Auto"), std::string(300, 'x'));
    EXPECT_FALSE(dialog().jobNameEdit()->isEnabled());
    EXPECT_FALSE(dialog().jobNameCaption()->isEnabled());
    // A label shows it is disabled only by its colour.
    EXPECT_EQ(dialog().jobNameCaption()->textColor(), kz::Color::disabledControlTextColor());
    driver.press("OK");
    EXPECT_EQ(dialog().showAsModalDialog(), 1);
    EXPECT_EQ(dialog().specificJobName(), "Auto");

    dialog().restoreValues(std::string("Input"), std::string());
    EXPECT_TRUE(dialog().jobNameEdit()->isEnabled());
    EXPECT_TRUE(dialog().jobNameCaption()->isEnabled());
    EXPECT_EQ(dialog().jobNameCaption()->textColor(), kz::Color::controlTextColor());
    choose(0);
    then([](kz::Window&) { EXPECT_FALSE(dialog().jobNameEdit()->isEnabled()); });
    driver.press("OK");
    EXPECT_EQ(dialog().showAsModalDialog(), 1);
    EXPECT_EQ(dialog().specificJobName(), "Auto");
}

TEST_F(JobNameDialog, InputTakesOneTo255CharactersAndExplainsOtherwise) {
    const std::string longest(255, 'n');
    dialog().restoreValues(std::string("Input"), longest);
    driver.press("OK");
    EXPECT_EQ(dialog().showAsModalDialog(), 1);
    EXPECT_EQ(dialog().jobName(), longest);

    // 256 characters (restored, the field never lets them be typed) and an
    // empty name are refused with the alert; the dialog stays open.
    for (const std::string& refused : {std::string(256, 'n'), std::string()}) {
        dialog().restoreValues(std::string("Input"), refused);
        std::string alert;
        driver.press("OK");
        dismissAlert(&alert);
        then([](kz::Window& w) { EXPECT_FALSE(w.isSheet()) << "the dialog is open again"; });
        driver.press("Cancel");
        EXPECT_EQ(dialog().showAsModalDialog(), 0);
        EXPECT_EQ(alert, kAlertText);
    }

    // Typing stops at 255 with a beep; the typed name is then accepted.
    dialog().restoreValues(std::string("Input"), std::string());
    const int beeps = driver.beeps();
    type(std::string(256, 't'));
    driver.press("OK");
    EXPECT_EQ(dialog().showAsModalDialog(), 1);
    EXPECT_EQ(dialog().jobName(), std::string(255, 't'));
    EXPECT_EQ(driver.beeps(), beeps + 1);
}

TEST_F(JobNameDialog, CancelPutsBackWhatTheDialogShowed) {
    dialog().restoreValues(std::string("Input"), std::string("Proofs"));
    type("Invoices");
    choose(0);
    driver.press("Cancel");
    EXPECT_EQ(dialog().showAsModalDialog(), 0);
    EXPECT_EQ(dialog().specificJobName(), "Input");
    EXPECT_EQ(dialog().jobName(), "Proofs");
    EXPECT_TRUE(dialog().jobNameEdit()->isEnabled());

    // A session that ends without an answer is a Cancel too.
    type("Drafts");
    EXPECT_EQ(dialog().showAsModalDialog(), 0);
    EXPECT_EQ(dialog().jobName(), "Proofs");
}

TEST_F(JobNameDialog, TheNameIsStoredEscapedAndShownAsTyped) {
    dialog().restoreValues(std::string("Input"), std::string());
    type("say \"hi\"");
    driver.press("OK");
    ASSERT_EQ(dialog().showAsModalDialog(), 1);
    EXPECT_EQ(dialog().jobName(), "say \"hi\"");
    EXPECT_EQ(dialog().escapedJobName(), "say \\\"hi\\\"");
    EXPECT_EQ(Dialog::displayedJobName("say \\\"hi\\\""), "say \"hi\"");
}

TEST_F(JobNameDialog, ShowJobNameModalDialogHandsBackTheChoice) {
    std::string mode = "Auto", name;
    choose(1);
    type("C:\\new");
    driver.press("OK");
    ASSERT_TRUE(kzp::ShowJobNameModalDialog(mode, nullptr, name));
    EXPECT_EQ(mode, "Input");
    EXPECT_EQ(name, "C:\\new");

    // What came back goes in again unchanged: the name is taken as shown,
    // not unescaped once more (a backslash and "n" would become a line).
    std::string escaped;
    driver.press("OK");
    ASSERT_TRUE(kzp::ShowJobNameModalDialog(mode, &escaped, name));
    EXPECT_EQ(name, "C:\\new");
    EXPECT_EQ(escaped, "C:\\\\new");

    std::string before = name;
    type("other");
    driver.press("Cancel");
    EXPECT_FALSE(kzp::ShowJobNameModalDialog(mode, &escaped, name));
    EXPECT_EQ(name, before);
    EXPECT_EQ(escaped, "C:\\\\new");
}

TEST_F(JobNameDialog, AsASheetTellsItsOpenerOfOkOnly) {
    kz::Window opener(kz::Rect(0, 0, 500, 300));
    opener.setContentView(std::make_shared<kz::View>());
    int told = 0;
    auto stopOpener = [this] {
        driver.then([](kz::Application& app, kz::Window&) {
            app.stopModalWithCode(7);
            return true;
        });
    };

    dialog().restoreValues(std::string("Input"), std::string("Proofs"));
    dialog().showSheet(opener, [&](Dialog& d) {
        ++told;
        EXPECT_EQ(d.jobName(), "Minutes");
    });
    type("Minutes");
    driver.press("OK");
    stopOpener();
    EXPECT_EQ(kz::Application::shared().runModalForWindow(opener), 7);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(opener.attachedSheet(), nullptr);

    dialog().showSheet(opener, [&](Dialog&) { ++told; });
    type("Agenda");
    choose(0);
    driver.press("Cancel");
    stopOpener();
    kz::Application::shared().runModalForWindow(opener);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(dialog().jobName(), "Minutes");
    EXPECT_EQ(dialog().specificJobName(), "Input");
}

TEST_F(JobNameDialog, OneSharedControllerUntilItIsDestroyed) {
    Dialog& first = dialog();
    EXPECT_EQ(&dialog(), &first);
    first.restoreValues(std::string(Dialog::kInput), std::string("Kept"));
    EXPECT_EQ(dialog().jobName(), "Kept");
    // Destroyed, the next controller starts over and loads its window again.
    Dialog::destroySharedInstance();
    Dialog::destroySharedInstance();  // nothing left to end
    EXPECT_FALSE(dialog().isWindowLoaded());
    ASSERT_NE(dialog().window(), nullptr);
    EXPECT_EQ(dialog().jobName(), "");
}
