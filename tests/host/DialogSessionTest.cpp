// The print dialog a person works, headless: Print gathers what the tool's
// headless dialog sends, another printer brings a panel for its PPD with the
// choices kept, a printer that cannot be had leaves the dialog as it was.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "HostTestSupport.h"
#include "host/AnswerDriver.h"
#include "host/DialogSession.h"
#include "host/FavoritesMenu.h"
#include "host/OptionControls.h"
#include "platform/kit/Application.h"
#include "platform/kit/Box.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TextField.h"
#include "platform/kit/ScriptedUiDriver.h"

namespace {

std::string productPpd() { return builtBundle() + "/Contents/Resources/KZPrintServer.ppd"; }

kzpde::DialogRequest dialogRequest() {
    kzpde::DialogRequest request;
    request.bundlePath = builtBundle();
    request.listCupsDestinations = false;
    return request;
}

kzpde::OptionControls::QuillUI* control(kzpde::DialogSession& s, const std::string& keyword) {
    return kzpde::OptionControls::find({s.panel()->panelView().get()}, keyword);
}

std::string valueOf(kzpde::DialogSession& s, const std::string& keyword) {
    auto* c = control(s, keyword);
    return c ? c->getStringValue().value_or("") : "(no control)";
}

void set(kzpde::DialogSession& s, const std::string& keyword, const std::string& value) {
    auto* c = control(s, keyword);
    ASSERT_TRUE(c) << keyword;
    std::string why;
    ASSERT_EQ(kzpde::OptionControls::setAsUser(*c, value, &why), kzpde::OptionControls::Outcome::Done) << why;
}

// Questions and messages are answered by a script with nothing in it.
struct QuietDriver {
    kz::ScriptedUiDriver driver;
    QuietDriver() { kz::Application::shared().setDriver(&driver); }
    ~QuietDriver() { kz::Application::shared().setDriver(nullptr); }
};

}  // namespace

TEST(DialogSession, PrintGathersWhatTheHeadlessDialogSendsForTheSameChanges) {
    QuietDriver quiet;
    kz::JobOptions fromDialog;
    {
        kzpde::DialogSession dialog;
        std::string error;
        ASSERT_TRUE(dialog.open(dialogRequest(), &error)) << error;
        EXPECT_EQ(dialog.printerMenu().titleOfSelectedItem(), "KZ Sample Printer");
        set(dialog, "StapleMode", "TopLeftCorner");
        set(dialog, "VLInputSlot", "TrayStock");
        int finished = 0;
        dialog.setFinishedHandler([&] { ++finished; });
        dialog.printButton().performClick();
        EXPECT_EQ(finished, 1);
        ASSERT_EQ(dialog.outcome(), kzpde::DialogSession::Outcome::Printed);
        EXPECT_FALSE(dialog.window().isVisible());
        EXPECT_EQ(dialog.jobId(), 0);
        EXPECT_EQ(dialog.message(), "KZ Sample Printer is no CUPS queue: nothing was submitted");
        fromDialog = dialog.jobOptions();
    }
    kzpde::HostSession headless;
    kzpde::HostRequest request = defaultRequest();
    request.sets = {{"StapleMode", "TopLeftCorner"}, {"VLInputSlot", "TrayStock"}};
    std::ostringstream errors;
    ASSERT_EQ(headless.run(request, "options", errors), 0) << errors.str();
    EXPECT_EQ(fromDialog.toString(), headless.jobOptions().toString());
    EXPECT_NE(fromDialog.toString().find("StapleMode=TopLeftCorner"), std::string::npos) << fromDialog.toString();
}

TEST(DialogSession, AnotherPrinterBringsAPanelForItsPpdAndTheChoicesGoAlong) {
    QuietDriver quiet;
    const std::string ppd = ::testing::TempDir() + "/Office.ppd";
    std::filesystem::copy_file(productPpd(), ppd, std::filesystem::copy_options::overwrite_existing);
    kzpde::DialogRequest request = dialogRequest();
    request.ppd = ppd;
    kzpde::DialogSession dialog;
    std::string error;
    ASSERT_TRUE(dialog.open(request, &error)) << error;
    ASSERT_EQ(dialog.printerEntries().size(), 2u);
    EXPECT_EQ(dialog.printerMenu().titleOfSelectedItem(), "Office (PPD)");
    EXPECT_EQ(dialog.host().ppd()->path(), ppd);
    set(dialog, "StapleMode", "TopLeftCorner");
    // Copies typed and not yet committed when Print is pressed still count.
    kz::TextField& copies = *dialog.dialog().copiesField();
    ASSERT_TRUE(copies.beginEditing());
    copies.currentEditor()->setSelectedRange({0, copies.currentEditor()->string().size()});
    copies.currentEditor()->insertText("3");

    std::weak_ptr<kz::View> oldView = dialog.panel()->panelView();
    ASSERT_TRUE(dialog.printerMenu().chooseItemAtIndex(1));  // the embedded printer, as the user picks it
    EXPECT_EQ(dialog.printerIndex(), 1);
    EXPECT_TRUE(oldView.expired());
    EXPECT_NE(dialog.host().ppd()->path(), ppd);
    EXPECT_EQ(dialog.panel()->panelView()->superview(), &dialog.window().contentView());
    EXPECT_EQ(valueOf(dialog, "StapleMode"), "TopLeftCorner");
    dialog.printButton().performClick();
    EXPECT_NE(dialog.jobOptions().toString().find("copies=3"), std::string::npos) << dialog.jobOptions().toString();
    EXPECT_NE(dialog.jobOptions().toString().find("StapleMode=TopLeftCorner"), std::string::npos);
}

TEST(DialogSession, APrinterThatCannotBeHadLeavesTheDialogAsItWas) {
    QuietDriver quiet;
    const std::string ppd = ::testing::TempDir() + "/Gone.ppd";
    std::filesystem::copy_file(productPpd(), ppd, std::filesystem::copy_options::overwrite_existing);
    kzpde::DialogRequest request = dialogRequest();
    request.ppd = ppd;
    kzpde::DialogSession dialog;
    std::string error;
    ASSERT_TRUE(dialog.open(request, &error)) << error;
    ASSERT_TRUE(dialog.printerMenu().chooseItemAtIndex(1));
    kz::View* panelView = dialog.panel()->panelView().get();
    // The file goes away; choosing it again is told (an alert) and undone.
    std::filesystem::remove(ppd);
    quiet.driver.press("OK");
    ASSERT_TRUE(dialog.printerMenu().chooseItemAtIndex(0));
    EXPECT_TRUE(quiet.driver.finished());  // the alert came and was acknowledged
    EXPECT_EQ(dialog.printerIndex(), 1);
    EXPECT_EQ(dialog.printerMenu().indexOfSelectedItem(), 1);
    EXPECT_EQ(dialog.panel()->panelView().get(), panelView);
    EXPECT_EQ(dialog.outcome(), kzpde::DialogSession::Outcome::Open);

    kzpde::DialogSession unknown;
    request = dialogRequest();
    request.printer = "NoSuchQueue";
    EXPECT_FALSE(unknown.open(request, &error));
    EXPECT_EQ(error, "NoSuchQueue: no such CUPS destination");
}

TEST(DialogSession, ClosingTheWindowCancelsOnce) {
    QuietDriver quiet;
    kzpde::DialogSession dialog;
    std::string error;
    ASSERT_TRUE(dialog.open(dialogRequest(), &error)) << error;
    int finished = 0;
    dialog.setFinishedHandler([&] { ++finished; });
    EXPECT_TRUE(dialog.window().performClose());
    EXPECT_EQ(dialog.outcome(), kzpde::DialogSession::Outcome::Cancelled);
    dialog.printButton().performClick();  // too late: the dialog is over
    dialog.cancelButton().performClick();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(dialog.outcome(), kzpde::DialogSession::Outcome::Cancelled);
}

TEST(DialogSession, APasswordSetInTheDetailedWindowTravelsEncodedAndIsShownMasked) {
    kzpde::AnswerDriver answers({});
    kzpde::DriverScope useAnswers(answers);
    kzpde::DialogSession dialog;
    std::string error;
    ASSERT_TRUE(dialog.open(dialogRequest(), &error)) << error;
    const std::string password = "Sesame-42";
    bool worked = false;
    // The detailed settings window as the user works it: secure print, its
    // password, then the window's OK.
    answers.otherWindows = [&](kz::Window& window, bool* result) {
        if (worked) return false;
        worked = true;
        for (const auto& [key, value] : {std::pair<std::string, std::string>{"SecurityPrint", "True"},
                                          {"SecurityPrintPassword", password}}) {
            auto* c = kzpde::OptionControls::bringToFront(window.contentView(), key);
            std::string why;
            EXPECT_TRUE(c && kzpde::OptionControls::setAsUser(*c, value, &why) == kzpde::OptionControls::Outcome::Done)
                << key << ": " << why;
        }
        auto* ok = dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(window.contentView(), [](kz::View& v) {
            auto* b = dynamic_cast<kz::Button*>(&v);
            return b && b->action().selector == "okButton:";
        }));
        *result = ok && ok->performClick();
        return true;
    };
    auto* show = dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(*dialog.panel()->panelView(), [](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && b->title() == "Show Detailed Settings";
    }));
    ASSERT_TRUE(show);
    show->performClick();
    ASSERT_TRUE(worked);
    answers.otherWindows = nullptr;
    dialog.printButton().performClick();
    ASSERT_EQ(dialog.outcome(), kzpde::DialogSession::Outcome::Printed);

    kz::Dictionary options;
    for (const auto& o : dialog.jobOptions().options()) options.set(o.name, kz::Value(o.value));
    std::string encoded, shown;
    const kz::Dictionary masked = dialog.secrets().masked(options);
    for (const auto& [name, value] : options)
        if (name == kz::JobOptions::kPasswordOption) {
            encoded = value.stringValue();
            shown = masked.get(name).stringValue();
        }
    EXPECT_FALSE(encoded.empty()) << dialog.jobOptions().toString();
    EXPECT_NE(encoded, password);
    EXPECT_EQ(shown, kzpde::Secrets::kMask);
    EXPECT_EQ(dialog.secrets().redact("sent " + encoded + " for " + password), "sent ******** for ********");
}

namespace {

// Favorites go to a home of the test's own.
struct HomeOfItsOwn {
    std::filesystem::path home =
        std::filesystem::path(::testing::TempDir()) / ("kz-dialog-home-" + std::to_string(::getpid()));
    std::optional<std::string> oldHome, oldConfig;
    HomeOfItsOwn() {
        std::filesystem::remove_all(home);
        std::filesystem::create_directories(home);
        if (const char* h = std::getenv("HOME")) oldHome = h;
        if (const char* x = std::getenv("XDG_CONFIG_HOME")) oldConfig = x;
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
    }
    ~HomeOfItsOwn() {
        if (oldHome) ::setenv("HOME", oldHome->c_str(), 1);
        if (oldConfig) ::setenv("XDG_CONFIG_HOME", oldConfig->c_str(), 1);
        std::filesystem::remove_all(home);
    }
};

}  // namespace

// The panel keeps its favorites strip out of a hosted view; the dialog's own
// buttons are the person's way to the save dialog and the manager.
TEST(DialogSession, TheFavoritesWindowsAreReachedFromTheDialog) {
    HomeOfItsOwn home;
    kz::ScriptedUiDriver driver;
    kz::Application::shared().setDriver(&driver);
    std::vector<std::string> titles;
    auto noteTitle = [&](kz::Application&, kz::Window& w) {
        titles.push_back(w.title());
        return true;
    };
    driver.then(noteTitle).paste("Reports").press("Save");
    driver.then(noteTitle).press("Cancel");
    {
        kzpde::DialogSession dialog;
        std::string error;
        ASSERT_TRUE(dialog.open(dialogRequest(), &error)) << error;
        kzpde::FavoritesMenu menu(*dialog.panel()->panelView());
        ASSERT_TRUE(menu.exists());
        kz::Button& save = *dialog.favoriteButtons().save();
        kz::Button& manage = *dialog.favoriteButtons().manage();
        EXPECT_FALSE(save.isHiddenOrHasHiddenAncestor());
        EXPECT_FALSE(manage.isHiddenOrHasHiddenAncestor());
        set(dialog, "StapleMode", "TopLeftCorner");
        ASSERT_TRUE(save.performClick());
        const kz::Value items = menu.report().dictionary().get("items");
        EXPECT_NE(std::find(items.array().begin(), items.array().end(), kz::Value("Reports")), items.array().end())
            << "the saved favorite is in the panel's menu";
        ASSERT_TRUE(manage.performClick());
        EXPECT_TRUE(driver.finished()) << (driver.problems().empty() ? "" : driver.problems().front());
        // After another printer the buttons press the new panel's ones.
        ASSERT_TRUE(dialog.usePrinter(0, &error)) << error;
        EXPECT_FALSE(manage.isHidden());
    }
    kz::Application::shared().setDriver(nullptr);
    EXPECT_EQ(titles, (std::vector<std::string>{"Save Favorite", "Manage Favorites"}));
    EXPECT_TRUE(std::filesystem::exists(home.home / ".config/TORVALE/KZPrintServer/R4/favorite/Reports.pfj"));
}

namespace {

double bottomInWindow(const kz::View& v) {
    double y = v.frame().origin.y;
    for (const kz::View* up = v.superview(); up; up = up->superview()) y += up->frame().origin.y;
    return y;
}

}  // namespace

// What a person works in the tray window stays clear of the line above its
// Close button (the last pop-up of the left column used to sit on it).
TEST(DialogSession, TheTrayWindowsControlsClearTheLineAboveClose) {
    kz::ScriptedUiDriver driver;
    kz::Application::shared().setDriver(&driver);
    double lowest = 1e9, line = -1;
    int widgets = 0;
    driver
        .then([&](kz::Application&, kz::Window& w) {
            kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
                if (v.isHiddenOrHasHiddenAncestor()) return false;
                auto* field = dynamic_cast<kz::TextField*>(&v);
                if (dynamic_cast<kz::Box*>(&v)) {
                    line = bottomInWindow(v) + v.frame().size.height;
                } else if (dynamic_cast<kz::PopUpButton*>(&v) || (field && field->isEditable())) {
                    lowest = std::min(lowest, bottomInWindow(v));
                    ++widgets;
                }
                return false;
            });
            return true;
        })
        .press("Close");
    {
        kzpde::DialogSession dialog;
        std::string error;
        ASSERT_TRUE(dialog.open(dialogRequest(), &error)) << error;
        auto* tray = dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(*dialog.panel()->panelView(), [](kz::View& v) {
            auto* b = dynamic_cast<kz::Button*>(&v);
            return b && b->title() == "Automatic Tray...";
        }));
        ASSERT_TRUE(tray);
        ASSERT_TRUE(tray->performClick());
    }
    kz::Application::shared().setDriver(nullptr);
    EXPECT_TRUE(driver.finished());
    EXPECT_GE(widgets, 5);
    ASSERT_GE(line, 0) << "the window has its line";
    EXPECT_GE(lowest, line + 4);
}
