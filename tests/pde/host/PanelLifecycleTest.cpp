// The panel's life as a print dialog drives it: which panel types it is
// offered for, the print server's host name, building, showing and hiding,
// the printer data, and a second panel after the first.
#include "PanelHost.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/Window.h"

using namespace paneltest;

TEST_F(PanelTest, OnlyThePrintDialogExtensionTypeGetsAPanel) {
    auto plugIn = principalObject(productBundle());
    ASSERT_NE(plugIn, nullptr);
    EXPECT_FALSE(plugIn->PDEPanelsForType("BDB091F4-E57F-11D3-B5CC-0050E4603278", nullptr).has_value());
    EXPECT_FALSE(plugIn->PDEPanelsForType("", nullptr).has_value());

    auto host = std::make_shared<MarkingHost>();
    auto panels = plugIn->PDEPanelsForType("BDB091F4-E57F-11D3-B5CC-0050E4603277", host);
    ASSERT_TRUE(panels.has_value());
    ASSERT_EQ(panels->size(), 1u);
    panel = panels->front();
    EXPECT_EQ(panel->panelName(), "KZ Print Server");
    EXPECT_TRUE(panel->panelKind().ends_with(".kz2.psdriver.r4_plugin.main")) << panel->panelKind();
    auto keys = panel->supportedPPDOptionKeys();
    ASSERT_TRUE(keys.has_value());
    EXPECT_NE(std::find(keys->begin(), keys->end(), "DuplexMode"), keys->end());
    // A second request gets a second working panel.
    auto again = plugIn->PDEPanelsForType(kz::PDEPlugIn::kPrintDialogExtensionType, host);
    ASSERT_TRUE(again && again->size() == 1);
    EXPECT_NE(again->front(), panel);
    EXPECT_NE(again->front()->panelView(), nullptr);
}

TEST_F(PanelTest, TheHostNameComesFromTheDeviceAddressWithTheVersionOnePrefixRule) {
    struct Case {
        std::optional<std::string> uri;
        std::optional<std::string> host;
    };
    for (const Case& c : {Case{"ipp://v1.a+b+c/printers/kz", "a%b+c"}, Case{"ipp://xv1.a+b/printers/kz", "xv1.a+b"},
                          Case{std::nullopt, std::nullopt}, Case{"file:/dev/null", std::nullopt}}) {
        kzp::PanePlugInMgr::destroySharedInstance();
        makePanel(std::make_shared<MarkingHost>(c.uri));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(manager().getHostName(), c.host) << c.uri.value_or("(no address)");
        panel.reset();
    }
}

TEST_F(PanelTest, TheServicePortComesFromTheProductsDeviceAddress) {
    struct Case {
        std::string uri, host;
        int port;
    };
    for (const Case& c : {Case{"kzps://[fe80::1%25eth0]:8631/printers/Q?service-port=9090", "fe80::1%eth0", 9090},
                          Case{"kzps://print.example/printers/KZPrintServer", "print.example", 8888},
                          Case{"ipp://v1.a+b/printers/kz", "a%b", 8888}}) {
        kzp::PanePlugInMgr::destroySharedInstance();
        makePanel(std::make_shared<MarkingHost>(c.uri));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(manager().getHostName(), c.host) << c.uri;
        EXPECT_EQ(manager().servicePort(), c.port) << c.uri;
        panel.reset();
    }
}

TEST_F(PanelTest, TheViewHasItsOutletsAndShowingCutsTheFavoritesStripOnce) {
    makePanel(std::make_shared<MarkingHost>());
    auto view = panel->panelView();
    ASSERT_NE(view, nullptr);
    auto* save = findControl<kz::Button>(view.get(), "clickedSaveFavoriteButton:");
    auto* detailed = findControl<kz::Button>(view.get(), "clickedShowDetailedSettingsButton:");
    auto* bypass = findControl<kz::Button>(view.get(), "Bypass Tray...");
    ASSERT_TRUE(save && detailed && bypass);
    EXPECT_TRUE(bypass->isHidden());
    double saveY = save->frame().origin.y;
    ASSERT_LT(saveY, view->frame().size.height);

    auto& center = kz::NotificationCenter::defaultCenter();
    std::size_t before = center.observerCount();
    panel->willShow();
    const auto* controls = manager().quillMgr().controlsFor("OffsetMode");
    ASSERT_NE(controls, nullptr);
    std::size_t filed = controls->size();
    std::size_t observing = center.observerCount();
    panel->willShow();
    // Built once, observing once, cut once.
    EXPECT_EQ(manager().quillMgr().controlsFor("OffsetMode")->size(), filed);
    EXPECT_EQ(center.observerCount(), observing);
    EXPECT_GE(observing, before + 8);
    EXPECT_EQ(view->frame().size.height, saveY);
    EXPECT_TRUE(save->isHidden());
    EXPECT_FALSE(bypass->isHidden()) << "the product describes the bypass option";
    EXPECT_TRUE(detailed->isEnabled());
    EXPECT_EQ(registry("OffsetMode"), "None");
}

TEST_F(PanelTest, WithoutTheBypassEntryTheBypassButtonStaysHidden) {
    kz::Value descriptions =
        kz::PropertyList::readFile(kBundle + "/Contents/Resources/KZPrintServerUI.plist");
    kz::Dictionary withoutBypass = descriptions.dictionary();
    withoutBypass.remove("AutoTraySettingToBypass");
    auto bundle = bundleCopy({{"VLPOD", "NoBypassUI"}}, {{"NoBypassUI.plist", withoutBypass}});
    ASSERT_NE(bundle, nullptr);
    makePanel(std::make_shared<MarkingHost>(), bundle);
    ASSERT_NE(panel, nullptr);
    panel->willShow();
    auto* bypass = findControl<kz::Button>(panel->panelView().get(), "Bypass Tray...");
    ASSERT_NE(bypass, nullptr);
    EXPECT_TRUE(bypass->isHidden());
    EXPECT_EQ(manager().quillMgr().controlsFor("AutoTraySettingToBypass"), nullptr);
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
}

TEST_F(PanelTest, AHiddenPanelKeepsFollowingOptionChanges) {
    auto host = std::make_shared<MarkingHost>();
    makePanel(host);
    panel->willShow();
    EXPECT_TRUE(panel->shouldHide());
    // Each of the panel's option notifications copies the sample print mode
    // into its print option, which only then reaches the PPD on saving.
    manager().setStringValue(std::string("ProofPrint"), "SamplePrintMode");
    kz::NotificationCenter::defaultCenter().post("Fold");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->marked("SamplePrintMode"), "ProofPrint");
}

TEST_F(PanelTest, ServerListsComeFromTheHostsPpdAndNotWithoutIt) {
    auto marking = std::make_shared<MarkingHost>();
    makePanel(marking);
    kz::Value stackers = manager().getStackerInfoList();
    ASSERT_TRUE(stackers.isArray()) << stackers.typeName();
    EXPECT_FALSE(stackers.array().empty());
    EXPECT_TRUE(manager().getFeederInfoList().isArray());
    // Current systems have the lists in the PPD already: no printer command.
    EXPECT_TRUE(marking->printer->commands().empty());
    panel.reset();
    EXPECT_TRUE(manager().getStackerInfoList().isNull()) << "a panel that went away answers nothing";

    kzp::PanePlugInMgr::destroySharedInstance();
    makePanel(std::make_shared<Host>());
    EXPECT_TRUE(manager().getStackerInfoList().isNull()) << "no PPD without the capability";
}

TEST_F(PanelTest, ASecondPanelsControlsAreTheOnesTheRulesRead) {
    makePanel(std::make_shared<MarkingHost>());
    panel->willShow();
    panel.reset();
    auto host = std::make_shared<MarkingHost>();
    makePanel(host);
    panel->willShow();
    const auto* controls = manager().quillMgr().controlsFor("OffsetMode");
    ASSERT_NE(controls, nullptr);
    EXPECT_EQ(controls->size(), 1u) << "the first panel took its controls with it";
    manager().setStringValue(std::string("PerJob"), "OffsetMode");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->marked("OffsetMode"), "PerJob");
}
