// The panel inside a print dialog window of the host's: the copies field
// and collate check box it finds there, Revert, and copies the configuration
// hides.
#include "PanelHost.h"

#include "platform/kit/Box.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"
#include "platform/printing/PrintingCalls.h"

using namespace paneltest;

namespace {

// Same action as the collate box, but not the kit's own button class.
class StyledButton : public kz::Button {
public:
    std::string className() const override { return "StyledButton"; }
};

// The host's dialog: its own controls, decoys among them, around the panel.
struct Dialog {
    std::shared_ptr<kz::Window> window = std::make_shared<kz::Window>(kz::Rect(0, 0, 700, 560));
    std::shared_ptr<kz::TextField> copies = std::make_shared<kz::TextField>();
    std::shared_ptr<kz::TextField> otherField = std::make_shared<kz::TextField>();
    std::shared_ptr<StyledButton> styled = std::make_shared<StyledButton>();
    std::shared_ptr<kz::Button> collate = std::make_shared<kz::Button>();
    std::shared_ptr<kz::Button> twoSided = std::make_shared<kz::Button>();
    int collateActions = 0;

    explicit Dialog(const std::shared_ptr<kz::View>& panelView) {
        auto content = std::make_shared<kz::View>(kz::Rect(0, 0, 700, 560));
        window->setContentView(content);
        otherField->setFrame({20, 4, 70, 22});
        otherField->setStringValue("9");
        content->addSubview(otherField);
        auto box = std::make_shared<kz::Box>();
        box->setFrame({0, 0, 300, 40});
        copies->setFrame({95, 4, 50, 22});
        copies->setStringValue("1");
        box->contentView().addSubview(copies);
        content->addSubview(box);
        styled->setAction({"collatedSelected:", {}});
        content->addSubview(styled);
        collate->setAction({"collatedSelected:", [this](kz::Control&) { ++collateActions; }});
        twoSided->setAction({"twoSidedSelected:", {}});
        auto row = std::make_shared<kz::View>(kz::Rect(300, 0, 300, 40));
        row->addSubview(collate);
        row->addSubview(twoSided);
        content->addSubview(row);
        panelView->setFrameOrigin({0, 50});
        content->addSubview(panelView);
    }
};

}  // namespace

TEST_F(PanelTest, CopiesComeFromTheHostsCopiesFieldFoundByItsFrame) {
    auto host = std::make_shared<MarkingHost>();
    makePanel(host);
    Dialog dialog(panel->panelView());
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    panel->willShow();
    dialog.copies->setStringValue("4");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom("NumCopies"), "4");
    // The copies are the host's: restoring leaves its field as it is.
    host->settings.setValue(customKey("NumCopies"), "7");
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_EQ(dialog.copies->stringValue(), "4");
    EXPECT_EQ(dialog.otherField->stringValue(), "9");
}

TEST_F(PanelTest, RevertLeavesOneSidedAndCollatedWhateverWasSet) {
    auto host = std::make_shared<MarkingHost>();
    kz::PMSetCollate(&host->settings, false);
    makePanel(host);
    Dialog dialog(panel->panelView());
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    panel->willShow();
    manager().setStringValue(std::string("DuplexTumble"), "DuplexMode");
    manager().setStringValue(std::string("PerSet"), "OffsetMode");
    auto* revert = findControl<kz::Button>(panel->panelView().get(), "clickedRevertToDefaultSettings:");
    ASSERT_NE(revert, nullptr);
    revert->performClick();
    EXPECT_EQ(registry("DuplexMode"), "None");
    EXPECT_EQ(registry("OffsetMode"), "None");
    bool collate = false;
    ASSERT_EQ(kz::PMGetCollate(&host->settings, &collate), kz::kNoErr);
    EXPECT_TRUE(collate);
    EXPECT_EQ(dialog.collate->state(), 1);
    EXPECT_EQ(dialog.collateActions, 1);
    EXPECT_EQ(dialog.styled->state(), 0) << "only the kit's own button class is the host's";
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->marked("DuplexMode"), "None");
    EXPECT_EQ(host->marked("Collate"), "True");
}

TEST_F(PanelTest, HiddenCopiesAreNeitherReadNorWritten) {
    for (bool hidden : {false, true}) {
        kzp::PanePlugInMgr::destroySharedInstance();
        auto host = std::make_shared<MarkingHost>();
        makePanel(host, bundleCopy({{"isHiddenNumCopies", hidden}}));
        ASSERT_NE(panel, nullptr);
        Dialog dialog(panel->panelView());
        ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
        panel->willShow();
        dialog.copies->setStringValue("3");
        ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
        EXPECT_EQ(host->custom("NumCopies"), hidden ? std::nullopt : std::optional<std::string>("3")) << hidden;
        panel.reset();
    }
}
