// The panel class itself, for what a dialog cannot reach through the host
// protocol: the lookup of the host's controls, the duplex check box, and the
// fast save that follows the detailed settings window.
#include <gtest/gtest.h>

#include "PDE/KemoPDEByCocoa.h"
#include "host/PanelHost.h"
#include "platform/foundation/Log.h"
#include "platform/kit/Box.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"
#include "platform/printing/PrintingCalls.h"

using namespace paneltest;
using kzp::KemoPDEByCocoa;

namespace {

class SubclassedField : public kz::TextField {
public:
    std::string className() const override { return "CopiesField"; }
};

std::shared_ptr<kz::Button> buttonWithAction(const char* selector) {
    auto b = std::make_shared<kz::Button>();
    b->setAction({selector, {}});
    return b;
}

std::shared_ptr<kz::TextField> fieldAt(kz::Rect frame) {
    auto f = std::make_shared<kz::TextField>();
    f->setFrame(frame);
    return f;
}

class PanelClassTest : public ::testing::Test {
protected:
    void SetUp() override {
        kzp::PanePlugInMgr::destroySharedInstance();
        kz::Application::shared().setDriver(&driver);
        bundle = kz::Bundle::open(kBundle);
        ASSERT_NE(bundle, nullptr);
        bundle->setLanguages({"en"});
    }
    void TearDown() override {
        panel.reset();
        kzp::PanePlugInMgr::destroySharedInstance();
        kz::Application::shared().setDriver(nullptr);
    }
    static kzp::PanePlugInMgr& manager() { return kzp::PanePlugInMgr::sharedInstance(); }

    kz::ScriptedUiDriver driver;
    std::shared_ptr<kz::Bundle> bundle;
    std::shared_ptr<KemoPDEByCocoa> panel;
};

}  // namespace

TEST(HostDialogControls, FoundByExactClassActionAndFrameThroughViewsAndBoxes) {
    kz::View root;
    auto subclassed = std::make_shared<SubclassedField>();
    subclassed->setFrame({95, 4, 70, 22});
    root.addSubview(subclassed);
    root.addSubview(fieldAt({95, 5, 70, 22}));
    auto box = std::make_shared<kz::Box>();
    auto copies = fieldAt({92, 4, 60, 22});
    box->contentView().addSubview(copies);
    root.addSubview(box);
    auto nested = std::make_shared<kz::View>();
    auto collate = buttonWithAction("collatedSelected:");
    auto secondCollate = buttonWithAction("collatedSelected:");
    auto twoSided = buttonWithAction("twoSidedSelected:");
    nested->addSubview(buttonWithAction("somethingElse:"));
    nested->addSubview(collate);
    nested->addSubview(secondCollate);
    nested->addSubview(twoSided);
    root.addSubview(nested);

    EXPECT_EQ(KemoPDEByCocoa::getCocoaPDEsControl(&root, "NumCopies"), copies.get());
    EXPECT_EQ(KemoPDEByCocoa::getCocoaPDEsControl(&root, "Collate"), collate.get());
    EXPECT_EQ(KemoPDEByCocoa::getCocoaPDEsControl(&root, "DuplexMode"), twoSided.get());
    EXPECT_EQ(KemoPDEByCocoa::getCocoaPDEsControl(&root, "OutputTray"), nullptr);
    EXPECT_EQ(KemoPDEByCocoa::getCocoaPDEsControl(nullptr, "Collate"), nullptr);
    for (kz::Rect frame : {kz::Rect(95, 4, 70, 22), kz::Rect(95, 4, 50, 22), kz::Rect(101, 4, 60, 22)}) {
        kz::View other;
        auto field = fieldAt(frame);
        other.addSubview(field);
        EXPECT_EQ(KemoPDEByCocoa::getCocoaPDEsControl(&other, "NumCopies"), field.get());
        EXPECT_EQ(KemoPDEByCocoa::getCocoaPDEsControl(&other, "Collate"), nullptr);
    }
}

TEST_F(PanelClassTest, TheTwoSidedBoxFollowsTheDuplexModeAndTheSettingsKeepIt) {
    auto host = std::make_shared<MarkingHost>();
    panel = KemoPDEByCocoa::initWithCallback(host, bundle);
    kz::Window window(kz::Rect(0, 0, 700, 560));
    auto content = std::make_shared<kz::View>();
    window.setContentView(content);
    int actions = 0;
    auto twoSided = std::make_shared<kz::Button>();
    twoSided->setAction({"twoSidedSelected:", [&](kz::Control&) { ++actions; }});
    content->addSubview(twoSided);
    content->addSubview(panel->panelView());
    panel->willShow();

    panel->setDuplex("DuplexTumble");
    EXPECT_EQ(twoSided->state(), 1);
    int mode = 0;
    ASSERT_EQ(kz::PMGetDuplex(&host->settings, &mode), kz::kNoErr);
    EXPECT_EQ(mode, 3);
    EXPECT_EQ(panel->getDuplex(), "DuplexTumble");
    panel->setDuplex("Sideways");
    EXPECT_EQ(twoSided->state(), 0);
    EXPECT_EQ(panel->getDuplex(), "None");
    EXPECT_EQ(actions, 2);

    twoSided->removeFromSuperview();
    kz::LogCapture log;
    panel->setDuplex("DuplexNoTumble");
    EXPECT_TRUE(log.contains("### Error Duplex is NULL!"));
    EXPECT_EQ(panel->getDuplex(), "None") << "nothing is set without the box";
}

TEST_F(PanelClassTest, AFastSaveWritesOnlyWhatChangedMoreThanLetterCase) {
    auto host = std::make_shared<MarkingHost>();
    host->settings.setValue(customKey("MemoCommentContent"), "draft copy");
    host->settings.setValue(customKey("WaterMarkName"), "one");
    panel = KemoPDEByCocoa::initWithCallback(host, bundle);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    panel->willShow();
    // The detailed settings window takes the snapshot the fast save compares with.
    panel->clickedShowDetailedSettingsButton(nullptr);

    host->settings.setValue(customKey("MemoCommentContent"), "DRAFT Copy");
    host->settings.setValue(customKey("WaterMarkName"), "two");
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_EQ(panel->printOption().get("MemoCommentContent").stringValue(), "DRAFT Copy");
    host->settings.remove(customKey("MemoCommentContent"));
    host->settings.remove(customKey("WaterMarkName"));
    ppdMarkOption(host->ppd, "PagePrintOnCenter", "True");
    host->marks.clear();

    ASSERT_TRUE(panel->saveValuesAndReturnError_Fast(nullptr));
    EXPECT_EQ(host->custom("MemoCommentContent"), std::nullopt) << "only the letter case changed";
    EXPECT_EQ(host->custom("WaterMarkName"), "two");
    EXPECT_EQ(host->marked("PagePrintOnCenter"), "True") << "an unchanged boolean is not written";
    // The full save writes everything again.
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom("MemoCommentContent"), "DRAFT Copy");
    EXPECT_EQ(host->marked("PagePrintOnCenter"), "False");
}
