#include <gtest/gtest.h>

#include "host/AnswerDriver.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/Window.h"

namespace {

long runAlert(const std::string& message, const std::string& informative, int buttons) {
    kz::Alert alert;
    alert.setMessageText(message);
    alert.setInformativeText(informative);
    alert.addButtonWithTitle("Yes");
    if (buttons > 1) alert.addButtonWithTitle("No");
    return alert.runModal();
}

TEST(AnswerDriverTest, KeepsEveryTextOfADialogAndAnswersInTurn) {
    kzpde::AnswerDriver answers({false});
    kzpde::DriverScope scope(answers);
    const long first = runAlert("Change the tray?", "The paper size changes with it.", 2);
    const long second = runAlert("Change the tray?", "", 2);  // no answer left: the default, yes
    runAlert("Done.", "", 1);
    EXPECT_NE(first, second);
    ASSERT_EQ(answers.dialogs.size(), 3u);
    // The message and the text below it, neither lost; no empty line for a
    // text the dialog leaves empty.
    EXPECT_EQ(answers.dialogs[0].text, "Change the tray?\rThe paper size changes with it.");
    EXPECT_EQ(answers.dialogs[0].answer, "no");
    EXPECT_EQ(answers.dialogs[1].text, "Change the tray?");
    EXPECT_EQ(answers.dialogs[1].answer, "yes");
    EXPECT_EQ(answers.dialogs[2].answer, "ok");
    EXPECT_EQ(answers.defaulted(), 1);
    EXPECT_EQ(answers.unusedAnswers(), 0u);
}

TEST(AnswerDriverTest, ADialogsTextInAOneLineMessageHasNoLineBreaksLeft) {
    // A carriage return in an error line would overwrite the line's start.
    EXPECT_EQ(kzpde::dialogTextOnOneLine("Settings are missing.\rEnter the password.\r"),
              "Settings are missing. Enter the password.");
    EXPECT_EQ(kzpde::dialogTextOnOneLine("\rA\r\rB"), "A B");
    EXPECT_EQ(kzpde::dialogTextOnOneLine(""), "");
}

TEST(AnswerDriverTest, HandsTheWindowsAButtonOpensToTheirWorkerOnlyWhileItRuns) {
    kzpde::AnswerDriver answers({});
    kzpde::DriverScope scope(answers);
    kz::Application& app = kz::Application::shared();
    kz::Window settings;
    auto close = std::make_shared<kz::Button>(kz::Rect(0, 0, 80, 24));
    close->setAction({"close:", [&](kz::Control&) { app.stopModalWithCode(3); }});
    settings.contentView().addSubview(close);
    long code = 0;
    kz::Button open;
    open.setAction({"open:", [&](kz::Control&) { code = app.runModalForWindow(settings); }});

    int worked = 0;
    answers.clickWorking(open, [&](kz::Window& window, bool* result) {
        if (&window != &settings) return false;
        ++worked;
        runAlert("A question on the way", "", 2);  // still the driver's to answer
        *result = close->performClick();
        return true;
    });
    EXPECT_EQ(code, 3);
    EXPECT_EQ(worked, 1);
    EXPECT_FALSE(answers.otherWindows);
    ASSERT_EQ(answers.dialogs.size(), 1u);
    EXPECT_EQ(answers.dialogs[0].text, "A question on the way");
}

}  // namespace
