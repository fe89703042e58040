// The tool's print dialog in process: where the panel's values go, the
// dialog's own controls as the panel finds them, hosts that lack them or the
// PPD capability, passwords, and settings files from outside.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "HostTestSupport.h"
#include "support/JsonValue.h"
#include "host/OptionControls.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/printing/PrintingCalls.h"

namespace {

std::string tempFile(const std::string& name, const std::string& content) {
    const std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

kz::Button* buttonTitled(kz::View& root, const std::string& title) {
    return dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(root, [&](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && b->title() == title;
    }));
}

// Types into a field of the dialog as the user does and presses Return.
void typeInto(kz::TextField& field, const std::string& text) {
    ASSERT_TRUE(field.beginEditing());
    field.currentEditor()->setSelectedRange({0, field.currentEditor()->string().size()});
    field.currentEditor()->insertText(text);
    if (field.window()->makeFirstResponder(nullptr)) field.sendAction();
}

bool anyLineHas(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST_F(HostSessionTest, ChoicesAreMarkedInTheHostsPpdAndTextsTravelEscapedBothWays) {
    kzpde::HostRequest request = defaultRequest();
    request.sets = {{"StapleMode", "TopLeftCorner"}, {"VLInputSlot", "TrayStock"}, {"StockName", "50%,'x%x27"}};
    const std::string saved = ::testing::TempDir() + "/escapes.plist";
    request.writeSettings = saved;
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_EQ(marked("StapleMode"), "TopLeftCorner");
    EXPECT_FALSE(customEntry("StapleMode"));
    // Exactly the three escapes; a text that holds an escape already keeps it.
    EXPECT_EQ(customEntry("StockName"), "50%x25%x2C%x27x%x25x27");
    EXPECT_TRUE(session->jobOptions().find("StapleMode"));

    // The saved file brings back the marked choice (the texts: the tool's
    // tests, in a process of their own).
    kzpde::HostRequest again = defaultRequest();
    again.settingsFile = saved;
    ASSERT_EQ(run(again), 0) << errors.str();
    EXPECT_EQ(marked("StapleMode"), "TopLeftCorner");
    EXPECT_EQ(marked("VLInputSlot"), "TrayStock");
}

TEST_F(HostSessionTest, ThePanelWorksTheDialogsCopiesAndCollateControls) {
    ASSERT_EQ(run(defaultRequest()), 0) << errors.str();
    kzpde::PrintDialog& dialog = *session->dialog();
    kz::PrintSettings& settings = session->host()->settings();

    // Copies typed in the dialog's field reach the panel's print option.
    typeInto(*dialog.copiesField(), "3");
    ASSERT_TRUE(settings.value(kz::PrintSettings::kCopiesKey));
    EXPECT_EQ(settings.value(kz::PrintSettings::kCopiesKey)->integerValue(), 3);
    ASSERT_TRUE(session->panel()->saveValuesAndReturnError(nullptr));
    EXPECT_TRUE(customEntry("NumCopies") == "3" || marked("NumCopies") == "3") << errors.str();

    // Revert turns collate back on through the dialog's own check box.
    dialog.collateCheckBox()->performClick();
    bool collate = true;
    kz::PMGetCollate(&settings, &collate);
    ASSERT_FALSE(collate);
    kz::Button* revert = buttonTitled(dialog.window().contentView(), "Revert to Default Settings");
    ASSERT_TRUE(revert);
    revert->performClick();
    kz::PMGetCollate(&settings, &collate);
    EXPECT_TRUE(collate);
    EXPECT_EQ(dialog.collateCheckBox()->state(), kz::OnState);
}

TEST_F(HostSessionTest, ADialogWithoutItsOwnControlsStillGetsAWorkingPanel) {
    kzpde::HostRequest request = defaultRequest();
    request.withHostControls = false;
    request.sets = {{"StapleMode", "TopLeftCorner"}};
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_EQ(marked("StapleMode"), "TopLeftCorner");
    EXPECT_FALSE(customEntry("NumCopies"));
    kz::Button* revert = buttonTitled(session->dialog()->window().contentView(), "Revert to Default Settings");
    ASSERT_TRUE(revert);
    revert->performClick();
    EXPECT_TRUE(anyLineHas(session->logLines(), "### Error")) << errors.str();
}

TEST_F(HostSessionTest, AHostThatCannotMarkChoicesKeepsThePanelsValuesOutOfItsPpdAndSettings) {
    kzpde::HostRequest request = defaultRequest();
    request.withPPDChanges = false;
    request.sets = {{"StapleMode", "TopLeftCorner"}, {"Fold", "BifoldInside"}};
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_EQ(marked("StapleMode"), "None");
    EXPECT_EQ(marked("Fold"), "None");
    for (const auto& [key, value] : session->host()->settings().values())
        EXPECT_FALSE(kz::PrintSettings::isCustomEntryKey(key)) << key;
}

TEST_F(HostSessionTest, APasswordLeavesOnlyEncodedAndOnlyForTheJob) {
    const std::string password = "Sesame-42";
    kzpde::HostRequest request = defaultRequest();
    request.sets = {{"SecurityPrint", "True"}, {"SecurityPrintPassword", password}};
    ASSERT_EQ(run(request), 0) << errors.str();
    const std::optional<std::string> encoded = customEntry("SecurityPrintPassword");
    ASSERT_TRUE(encoded && !encoded->empty());
    EXPECT_EQ(encoded->find(password), std::string::npos);
    bool sent = false;
    for (const auto& option : session->jobOptions().options()) sent = sent || option.value == *encoded;
    EXPECT_TRUE(sent);

    for (const std::string& line : session->logLines()) {
        EXPECT_EQ(line.find(password), std::string::npos) << line;
        EXPECT_EQ(line.find(*encoded), std::string::npos) << line;
    }
    std::ostringstream text;
    session->writeText(text);
    const std::string shown = text.str() + kzpde::jsonText(kzpde::toJson(kz::Value(session->report()))) + errors.str();
    EXPECT_EQ(shown.find(password), std::string::npos);
    EXPECT_EQ(shown.find(*encoded), std::string::npos);
    EXPECT_NE(shown.find(kzpde::Secrets::kMask), std::string::npos);

    // A settings file that carries it is readable by its owner only, also
    // when the file it replaces was readable by all.
    const std::string saved = ::testing::TempDir() + "/secret.plist";
    std::ofstream(saved) << "older settings";
    ::chmod(saved.c_str(), 0644);
    request.writeSettings = saved;
    ASSERT_EQ(run(request), 0) << errors.str();
    struct stat info {};
    ASSERT_EQ(::stat(saved.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST_F(HostSessionTest, ASettingsFileFromOutsideIsRefusedWhole) {
    const std::string valid =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>com.apple.print.PrintSettings.PMCopies</key>"
        "<integer>2</integer>";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"garbage.plist", "not a property list at all"},
        {"array.plist", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>"},
        {"nested.plist", valid + "<key>x</key><dict/></dict></plist>"},
        {"copies.plist", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>"
                         "com.apple.print.PrintSettings.PMCopies</key><string>many</string></dict></plist>"},
    };
    for (const auto& [name, content] : files) {
        SCOPED_TRACE(name);
        kzpde::HostRequest request = defaultRequest();
        request.settingsFile = tempFile(name, content);
        EXPECT_EQ(run(request), 1);
        EXPECT_NE(errors.str().find(name), std::string::npos) << errors.str();
        EXPECT_FALSE(session->host());
    }
}

TEST_F(HostSessionTest, AKeyWithoutControlOrAValueThatIsNoChoiceIsAUsageError) {
    kzpde::HostRequest request = defaultRequest();
    request.sets = {{"StapleMode", "TopLeftCorner"}, {"NoSuchOption", "x"}};
    EXPECT_EQ(run(request), 2);
    EXPECT_NE(errors.str().find("NoSuchOption"), std::string::npos) << errors.str();
    // Nothing was changed before the refusal.
    EXPECT_EQ(marked("StapleMode"), "None");

    request.sets = {{"StapleMode", "Sideways"}};
    EXPECT_EQ(run(request), 2);
    EXPECT_NE(errors.str().find("'Sideways' is not one of the choices of StapleMode"), std::string::npos) << errors.str();
}

TEST_F(HostSessionTest, AConflictIsAskedAboutAndTheAnswerDecides) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        kzpde::HostRequest request = defaultRequest();
        request.sets = {{"StapleMode", "TopLeftCorner"}, {"OutputTray", "Stackertray"}};
        request.answers = {yes};
        ASSERT_EQ(run(request), 0) << errors.str();
        ASSERT_EQ(session->dialogs().size(), 1u);
        EXPECT_EQ(session->dialogs()[0].key, "OutputTray");
        EXPECT_EQ(session->dialogs()[0].dialog.answer, yes ? "yes" : "no");
        EXPECT_EQ(marked("OutputTray"), yes ? "Stackertray" : "Auto");
        EXPECT_EQ(marked("StapleMode"), yes ? "None" : "TopLeftCorner");
    }
}

TEST(HostSecrets, EveryFormOfASecretIsRedactedAndNothingElse) {
    kzpde::Secrets secrets;
    EXPECT_TRUE(secrets.isSecretKey("SecurityPrintPassword"));
    EXPECT_TRUE(secrets.isSecretKey("com.example.print.PrintSettingsTicket.SecurityPrintPassword"));
    EXPECT_FALSE(secrets.isSecretKey("com.example.print.PrintSettingsTicket.StockName"));
    secrets.addValue("a,b");
    secrets.addValue("*");  // a value the mask itself is made of
    EXPECT_EQ(secrets.redact("x a,b y a%x2Cb z *"), "x ******** y ******** z ********");
    EXPECT_EQ(secrets.redact("nothing"), "nothing");
}
