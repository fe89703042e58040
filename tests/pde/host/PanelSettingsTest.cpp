// Values between the panel, the host's print settings and the host's PPD:
// custom entries and their escapes, PPD choices, hosts without the PPD
// capability, and the host's own PPD changes.
#include "PanelHost.h"

#include "platform/foundation/Log.h"

using namespace paneltest;

namespace {

// A pane text option that is no PPD option and that no conversion touches.
constexpr const char* kText = "MemoCommentContent";

}  // namespace

TEST_F(PanelTest, CustomEntriesEscapeExactlyThreeCharactersBothWays) {
    struct Case {
        std::string stored;  // what the host's settings hold before restoring
        std::string written; // what saving writes back
    };
    for (const Case& c : {Case{"%x25%x2C%x27", "%x25%x2C%x27"},  // "%,'" read and written again
                          Case{"%x25x27", "%x25x27"},             // the text "%x27" stays that text
                          Case{"a%x2Cb", "a%x2Cb"}, Case{"plain \"text\";", "plain \"text\";"},
                          Case{"100%", "100%x25"}}) {               // a bare "%" is escaped on the way out
        kzp::PanePlugInMgr::destroySharedInstance();
        auto host = std::make_shared<MarkingHost>();
        host->settings.setValue(customKey(kText), c.stored);
        makePanel(host);
        ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
        ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
        EXPECT_EQ(host->custom(kText), c.written) << c.stored;
        panel.reset();
    }
}

TEST_F(PanelTest, APpdChoiceIsMarkedAndLosesItsCustomEntry) {
    auto host = std::make_shared<MarkingHost>();
    host->settings.setValue(customKey("ColorModel"), "Gray");
    makePanel(host);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->marked("ColorModel"), "Gray");
    EXPECT_EQ(host->custom("ColorModel"), std::nullopt);
    // Restoring again reads the choice back from the host's PPD.
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->marked("ColorModel"), "Gray");
}

TEST_F(PanelTest, AValueThatIsNoChoiceTravelsAsCustomEntryWithTheOptionAtItsDefault) {
    auto host = std::make_shared<MarkingHost>();
    ppdMarkOption(host->ppd, "ColorModel", "Gray");
    host->settings.setValue(customKey("ColorModel"), "Sepia,Warm");
    makePanel(host);
    kz::Value fallback = manager().defaultSettings().get("ColorModel");
    ASSERT_TRUE(fallback.isString());
    ASSERT_NE(fallback.string(), "Gray");
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->settings.value(customKey("ColorModel"))->string(), "Sepia%x2CWarm");
    EXPECT_EQ(host->marked("ColorModel"), fallback.string());
}

TEST_F(PanelTest, AHostWithoutThePpdCapabilityKeepsTheValuesInThePanel) {
    auto host = std::make_shared<Host>();
    host->settings.setValue(customKey(kText), "from the settings");
    makePanel(host);
    kz::LogCapture log;
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    panel->willShow();
    manager().setStringValue(std::string("PerSet"), "OffsetMode");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    // Neither the settings nor the PPD were touched ...
    EXPECT_EQ(host->settings.values().size(), 1u);
    EXPECT_EQ(host->marked("OffsetMode"), "None");
    EXPECT_TRUE(log.contains("### ## err=-50 fail to set custom-ticket")) << "ticket writes answer -50";
    EXPECT_TRUE(log.contains("### ## ppd_file_t is nil"));
    EXPECT_FALSE(log.contains("from the settings"));
    // ... and the panel still answers from its own values.
    EXPECT_EQ(registry("OffsetMode"), "PerSet");
    auto summary = panel->summaryInfo();
    ASSERT_TRUE(summary.has_value());
    EXPECT_FALSE(summary->empty());
}

TEST_F(PanelTest, PasswordsNeverReachALogLine) {
    // A dialog that loses its print settings between restoring and saving:
    // every write fails and is logged.
    struct ForgetfulHost : MarkingHost {
        bool forgot = false;
        kz::PrintSettings* printSettings() override { return forgot ? nullptr : &settings; }
    };
    auto host = std::make_shared<ForgetfulHost>();
    host->settings.setValue(customKey("SecurityPrintPassword"), "s3cretPass");
    makePanel(host);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    host->forgot = true;
    kz::LogCapture log;
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    bool logged = false;
    for (const std::string& line : log.lines()) {
        EXPECT_EQ(line.find("s3cret"), std::string::npos) << line;
        if (line.find("(SecurityPrintPassword=") != std::string::npos) {
            logged = true;
            EXPECT_NE(line.find("(SecurityPrintPassword=********)"), std::string::npos) << line;
        }
    }
    EXPECT_TRUE(logged);
}

TEST_F(PanelTest, TheHostsPpdChangesReachThePanelOnlyForChoicesThePpdLists) {
    auto host = std::make_shared<MarkingHost>();
    makePanel(host);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    panel->willShow();
    ASSERT_EQ(registry("StapleMode"), "None");
    panel->PPDOptionKeyValueDidChange("StapleMode", "NoSuchCorner");
    panel->PPDOptionKeyValueDidChange(std::nullopt, "TopLeftCorner");
    panel->PPDOptionKeyValueDidChange("StapleMode", std::nullopt);
    panel->PPDOptionKeyValueDidChange("NotAnOption", "TopLeftCorner");
    EXPECT_EQ(registry("StapleMode"), "None");
    panel->PPDOptionKeyValueDidChange("StapleMode", "TopLeftCorner");
    EXPECT_EQ(registry("StapleMode"), "TopLeftCorner");
}

TEST_F(PanelTest, SavingWritesTheInputSlotAndTheJobNameEntries) {
    auto host = std::make_shared<MarkingHost>();
    host->settings.setValue(customKey("JobName"), "Q3 report%x2C draft");
    host->settings.setValue(customKey("VLSpecificJobName"), "Specific");
    makePanel(host);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    panel->willShow();
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    // The job-name label shows the name the settings carried.
    bool shown = false;
    for (const auto& v : panel->panelView()->subviews())
        if (auto* field = dynamic_cast<kz::Control*>(v.get()); field && field->className() == "TextField")
            shown = shown || field->stringValue() == "Q3 report, draft";
    EXPECT_TRUE(shown);
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom("JobName"), "Q3 report%x2C draft");
    EXPECT_EQ(host->custom("VLSpecificJobName"), "Specific");
    EXPECT_EQ(host->custom("ProfilePath"), "");
    const kz::Value* slot = host->settings.value("VLInputSlot");
    ASSERT_NE(slot, nullptr) << "written while the panel is shown";
    EXPECT_EQ(slot->stringValue(), registry("VLInputSlot").value_or("?"));
}
