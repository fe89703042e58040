// The product's panes, their classes compiled into this test, over the
// product's own data files laid out as the build lays out the bundle.
#include <gmock/gmock.h>

#include "PaneTestSupport.h"
#include "engine/panes/QuillPane.h"
#include "platform/foundation/Log.h"

using namespace panetest;
using ::testing::ElementsAre;

namespace {

class ProductBundle : public ::testing::Test {
protected:
    TempFolder temp;
    std::string root = temp / "KZPrintServer.plugin";
    std::shared_ptr<kz::Bundle> bundle;

    void SetUp() override {
        fs::copy(std::string(KZ_SOURCE_DIR) + "/resources/bundle", root, fs::copy_options::recursive);
        for (const auto& pane : fs::directory_iterator(std::string(KZ_SOURCE_DIR) + "/src/engine/PanePlugIns")) {
            if (!pane.is_directory()) continue;
            std::string contents = root + "/Contents/PlugIns/" + pane.path().filename().string() + ".bundle/Contents";
            fs::create_directories(contents);
            fs::copy(pane.path() / "Info.plist", contents + "/Info.plist");
            fs::copy(pane.path() / "Resources", contents + "/Resources", fs::copy_options::recursive);
        }
    }
    void TearDown() override {
        kzp::PanePlugInMgr::destroySharedInstance();
        kzp::SetNSBundleForPrincipalBundle(nullptr);
        kzp::SetNSBundleForLocalizedString(nullptr);
        kzp::AppPreference::sharedInstance().setBundle(nullptr);
    }
    kzp::PanePlugInMgr& manager(const std::string& language = "en") {
        bundle = kz::Bundle::open(root);
        bundle->setLanguages({language});
        kzp::SetNSBundleForPrincipalBundle(bundle);
        kzp::SetNSBundleForLocalizedString(bundle);
        kzp::AppPreference::sharedInstance().setBundle(bundle);
        return kzp::PanePlugInMgr::sharedInstance();
    }
};

TEST_F(ProductBundle, EveryPaneLoadsWithItsViewAndControls) {
    kz::LogCapture log;
    auto& mgr = manager();
    EXPECT_EQ(mgr.isPOD(), "KZPrintServerUI");
    EXPECT_EQ(mgr.getUIFilePath(), root + "/Contents/Resources/KZPrintServerUI.plist");
    ASSERT_TRUE(mgr.loadPlugIns());
    auto keys = tableKeys(mgr);
    EXPECT_THAT(keys, ElementsAre("Color", "Finishing", "JobManagement", "Layout", "Media+Front", "Media+Back",
                                  "Page", "PaginationForms", "SpoolOptions"));
    while (mgr.loadPanelView()) {
    }
    for (const std::string& key : keys) {
        auto pane = mgr.paneControllerOfBundleName(key);
        ASSERT_NE(pane, nullptr) << key;
        EXPECT_NE(mgr.panelViewOfBundleName(key), nullptr) << key;
        EXPECT_FALSE(pane->getListQuillUI().empty()) << key;
        for (const auto& control : pane->getListQuillUI()) {
            EXPECT_FALSE(control->mainKeyword().empty()) << key;
            EXPECT_EQ(control->toolTip(), "") << key;
            EXPECT_NE(mgr.quillMgr().controlsFor(control->mainKeyword()), nullptr) << key;
        }
    }
    EXPECT_EQ(mgr.panelNameOfBundleName("Media+Front"), "Front Cover");
    EXPECT_EQ(mgr.panelNameOfBundleName("Media+Back"), "Back Cover");
    EXPECT_EQ(mgr.panelNameOfBundleName("Page"), "Page");
    // One bundle, two roles, two views with their own options.
    auto front = std::dynamic_pointer_cast<kzp::QuillPane>(mgr.paneControllerOfBundleName("Media+Front"));
    auto back = std::dynamic_pointer_cast<kzp::QuillPane>(mgr.paneControllerOfBundleName("Media+Back"));
    ASSERT_TRUE(front && back);
    EXPECT_NE(front, back);
    EXPECT_NE(front->control("BlankPapersFrontTray"), nullptr);
    EXPECT_EQ(front->control("BlankPapersBackTray"), nullptr);
    EXPECT_NE(back->control("BlankPapersBackTray"), nullptr);
    // Page and Layout offer what restoring asks of them.
    EXPECT_NE(dynamic_cast<kzp::PaneAutomaticPaperTraySelection*>(mgr.paneControllerOfBundleName("Page").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<kzp::PaneWillShow*>(mgr.paneControllerOfBundleName("Layout").get()), nullptr);
    for (const auto& line : log.lines()) EXPECT_EQ(line.find("skipped"), std::string::npos) << line;
}

TEST_F(ProductBundle, DefaultsSummaryAndRestoreOverTheProductPpd) {
    auto& mgr = manager();
    ASSERT_TRUE(mgr.loadPlugIns());
    while (mgr.loadPanelView()) {
    }
    ASSERT_NE(mgr.ppdInformation(), nullptr);
    kz::Dictionary defaults = mgr.defaultSettings();
    EXPECT_GT(defaults.size(), 50u);
    // The product's PPD lists "CMYK2", so a "CMYK" default becomes it.
    if (defaults.get("ColorModel") == kz::Value("CMYK")) {
        EXPECT_EQ(mgr.selectedOptionKeyword("ColorModel"), kz::Value("CMYK2"));
    }
    kz::Dictionary option{{"JobName", "report"}, {"SecurityPrint", "True"}};
    auto summary = mgr.summaryInfoFromPrintOption(&option);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->size(), 1u);  // the job name is no PPD option

    kz::Dictionary restore{{"SecurityPrint", "True"}};
    EXPECT_TRUE(mgr.restorePrintOptionValues(&restore));
    EXPECT_EQ(mgr.getStringValueFromKey("SecurityPrint"), "True");
}

TEST_F(ProductBundle, AlertTextsInEnglishAndJapanese) {
    manager("en");
    EXPECT_EQ(kzp::PanePlugInMgr::localizedAlertText("Alert_SecurityPrintPassword"),
              "Enter the password of the secure print job.");
    for (const char* key : {"Alert_ChkMsg", "Alert_SecurityPrintPassword", "Alert_MailAddress", "Alert_StockName",
                            "Alert_PhysicalPageRange", "Alert_RecordSpecNumber", "Alert_LogicalPageRange",
                            "Alert_BlankPapersFrontStockName", "Alert_BlankPapersBackStockName",
                            "Alert_SeparatorsStockName", "Alert_ImpositionTemplate", "Alert_Imposition1stStockName",
                            "Alert_ImpositionFormName", "Alert_ImpositionPaginationTemplate",
                            "Alert_ImpositionWaterMarkName", "Alert_PaginationTemplate", "Alert_FormName",
                            "Alert_WaterMarkName", "Alert_OptionMemoFile", "Alert_UserDefineMemoFile",
                            "Alert_MemoCommentContent", "Alert_ImageUserAdjustName", "Alert_TextUserAdjustName"}) {
        EXPECT_NE(kzp::PanePlugInMgr::localizedAlertText(key), key) << key;
    }
    kzp::PanePlugInMgr::destroySharedInstance();
    manager("ja");
    std::string ja = kzp::PanePlugInMgr::localizedAlertText("Alert_SecurityPrintPassword");
    EXPECT_NE(ja, "Alert_SecurityPrintPassword");
    EXPECT_NE(ja, "Enter the password of the secure print job.");
}

}  // namespace
