// The detailed settings window on the product's bundle: its tabs from the
// panes tree, the two view styles, and the modal run with OK, Cancel, the
// consistency check and Revert.
#include <gmock/gmock.h>

#include <set>

#include "Common/TextInput/NoEmptyTextField.h"
#include "engine/dialogs/DetailedSettingsWinController.h"
#include "PaneTestSupport.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TabView.h"
#include "platform/kit/WindowFrameStore.h"

using namespace panetest;
using Window = kzp::DetailedSettingsWinController;

namespace {

class DetailedSettings : public ::testing::Test {
protected:
    TempFolder temp;
    std::string root = temp / "KZPrintServer.plugin";
    std::shared_ptr<kz::Bundle> bundle;
    kz::ScriptedUiDriver driver;
    std::vector<std::string> windowsSeen;  // class of each window a step acted on

    void SetUp() override {
        fs::copy(std::string(KZ_SOURCE_DIR) + "/resources/bundle", root, fs::copy_options::recursive);
        for (const auto& pane : fs::directory_iterator(std::string(KZ_SOURCE_DIR) + "/src/engine/PanePlugIns")) {
            if (!pane.is_directory()) continue;
            std::string contents = root + "/Contents/PlugIns/" + pane.path().filename().string() + ".bundle/Contents";
            fs::create_directories(contents);
            fs::copy(pane.path() / "Info.plist", contents + "/Info.plist");
            fs::copy(pane.path() / "Resources", contents + "/Resources", fs::copy_options::recursive);
        }
        bundle = kz::Bundle::open(root);
        bundle->setLanguages({"en"});
        kzp::SetNSBundleForPrincipalBundle(bundle);
        kzp::SetNSBundleForLocalizedString(bundle);
        kzp::AppPreference::sharedInstance().setBundle(bundle);
        kz::Application::shared().setDriver(&driver);
    }
    void TearDown() override {
        kz::Application::shared().setDriver(nullptr);
        Window::destroySharedInstance();
        kzp::PanePlugInMgr::destroySharedInstance();
        kzp::SetNSBundleForPrincipalBundle(nullptr);
        kzp::SetNSBundleForLocalizedString(nullptr);
        kzp::AppPreference::sharedInstance().setBundle(nullptr);
    }

    Window& window() {
        Window& w = Window::sharedInstance();
        EXPECT_NE(w.window(), nullptr) << w.loadError();
        return w;
    }
    kzp::PanePlugInMgr& mgr() { return kzp::PanePlugInMgr::sharedInstance(); }
    // A step that does something to the window the user works on.
    void then(std::function<void(kz::Window&)> act) {
        driver.then([this, act](kz::Application&, kz::Window& w) {
            windowsSeen.push_back(w.className());
            act(w);
            return true;
        });
    }
    void press(const std::string& title) {
        then([](kz::Window&) {});
        driver.press(title);
    }
    static double leftmost(const kz::View& view) {
        double x = 1e9;
        for (const auto& sub : view.subviews()) x = std::min(x, sub->frame().origin.x);
        return x;
    }
};

TEST_F(DetailedSettings, EveryTopPaneOfTheTreeIsATabNamedByItsPane) {
    Window& w = window();
    EXPECT_EQ(w.window()->title(), "Detailed Settings");
    EXPECT_EQ(w.okButtonControl()->title(), "Setting");
    kz::TabView* tabs = w.tabView();
    ASSERT_EQ(tabs->numberOfTabViewItems(), 9);
    EXPECT_EQ(tabs->tabViewItemAtIndex(0)->identifier().stringValue(), "Page");
    EXPECT_EQ(tabs->tabViewItemAtIndex(7)->identifier().stringValue(), "Media+Front");
    EXPECT_EQ(tabs->tabViewItemAtIndex(7)->label(), "Front Cover");
    EXPECT_EQ(tabs->tabViewItemAtIndex(0)->view(), mgr().panelViewOfBundleName("Page").get());
    // The frame is kept under the dialog's name.
    EXPECT_TRUE(kz::WindowFrameStore::frame(Window::kFrameName));
}

TEST_F(DetailedSettings, TheTreeStyleMovesTheTabsAsideAndTheTabStyleBringsThemBack) {
    Window& w = window();
    kz::TabView* tabs = w.tabView();
    // Without "VLTabTreeView" the window opens with tabs.
    EXPECT_EQ(w.viewStyle()->indexOfSelectedItem(), 0);
    EXPECT_TRUE(w.paneTreeContainer()->isHidden());
    double tabsX = tabs->frame().origin.x;
    EXPECT_LT(tabsX, Window::kPaneTreeWidth);
    EXPECT_EQ(tabs->tabViewType(), kz::TabViewType::TopTabsBezelBorder);
    EXPECT_DOUBLE_EQ(leftmost(*tabs->tabViewItemAtIndex(2)->view()), Window::kTabsContentX);

    // Shorter panes start at the top of the tab as the tallest does.
    auto paneTops = [&] {
        std::set<double> tops;
        for (const auto& item : tabs->tabViewItems())
            if (item->view()) tops.insert(item->view()->frame().maxY());
        return tops;
    };
    EXPECT_EQ(paneTops().size(), 1u);
    // With tabs the tab bar has the tree's room too, so all nine tabs show;
    // the tree takes it back from the left, the right edge stays.
    const kz::Rect withTabs = tabs->frame();
    EXPECT_DOUBLE_EQ(withTabs.maxX(), w.window()->contentView().frame().size.width - 20);

    tabs->selectTabViewItemAtIndex(5);
    ASSERT_TRUE(w.viewStyle()->chooseItemAtIndex(1));
    EXPECT_FALSE(w.paneTreeContainer()->isHidden());
    EXPECT_EQ(w.outlineView()->selectedRow(), 5) << "the tree shows which pane is in front";
    EXPECT_EQ(tabs->indexOfTabViewItem(*tabs->selectedTabViewItem()), 5);
    EXPECT_EQ(paneTops().size(), 1u);
    EXPECT_DOUBLE_EQ(tabs->frame().origin.x, tabsX + Window::kPaneTreeWidth);
    EXPECT_DOUBLE_EQ(tabs->frame().maxX(), withTabs.maxX());
    EXPECT_GE(tabs->frame().minX(), w.paneTreeContainer()->frame().maxX());
    EXPECT_EQ(tabs->tabViewType(), kz::TabViewType::NoTabsNoBorder);
    EXPECT_DOUBLE_EQ(leftmost(*tabs->tabViewItemAtIndex(2)->view()), Window::kTreeContentX);
    // The pane tree lists the tabs; choosing a row brings its pane forward.
    ASSERT_EQ(w.outlineView()->numberOfRows(), 9);
    ASSERT_TRUE(w.outlineView()->clickRow(3));
    EXPECT_EQ(tabs->selectedTabViewItem()->identifier().stringValue(), "Color");

    ASSERT_TRUE(w.viewStyle()->chooseItemAtIndex(0));
    EXPECT_TRUE(w.paneTreeContainer()->isHidden());
    EXPECT_EQ(tabs->frame(), withTabs);
    EXPECT_DOUBLE_EQ(leftmost(*tabs->tabViewItemAtIndex(2)->view()), Window::kTabsContentX);
}

TEST_F(DetailedSettings, OkRefusedByTheCheckKeepsTheWindowOpenWithTheValuesGatheredAndCancelCloses) {
    window();
    then([this](kz::Window&) { mgr().setStringValue(std::string("True"), "SecurityPrint"); });
    press("Setting");
    press("OK");  // the check's alert
    press("Cancel");
    kz::Dictionary option{{"JobName", "kept"}};
    EXPECT_EQ(Window::sharedInstance().showAsModalDialog(option), 0);
    EXPECT_TRUE(driver.finished()) << (driver.problems().empty() ? "" : driver.problems().front());
    EXPECT_THAT(windowsSeen, ::testing::ElementsAre("Window", "Window", "Panel", "Window"));
    // The refused OK replaced the option with what the panes held.
    EXPECT_EQ(option.get("SecurityPrint").stringValue(), "True");
    EXPECT_FALSE(option.contains("JobName"));
    EXPECT_FALSE(Window::sharedInstance().window()->isVisible());
}

TEST_F(DetailedSettings, OkTakesTheChosenValuesAndRevertPutsTheDefaultsBack) {
    // The panel reads the defaults when it is made, before any pane's view
    // (and so its controls) is loaded; Revert must reach the panes anyway.
    mgr().loadPlugIns();
    EXPECT_FALSE(mgr().defaultSettings().contains("CreaseMode"));
    Window& w = window();
    EXPECT_EQ(mgr().defaultSettings().get("CreaseMode").stringValue(), "None");
    then([&](kz::Window&) { w.tabView()->selectTabViewItemWithIdentifier(kz::Value("Finishing")); });
    driver.choose("Saddle Fold");
    press("Setting");
    kz::Dictionary option;
    EXPECT_EQ(w.showAsModalDialog(option), 1);
    EXPECT_EQ(option.get("CreaseMode").stringValue(), "SaddleFold");

    press("Revert to Default Settings");
    press("Setting");
    EXPECT_EQ(w.showAsModalDialog(option), 1);
    EXPECT_EQ(option.get("CreaseMode").stringValue(), "None");
    // Closing the window is a cancel, which leaves the panes as they were.
    then([&](kz::Window&) { w.tabView()->selectTabViewItemWithIdentifier(kz::Value("Finishing")); });
    driver.choose("Saddle Fold");
    driver.closeWindow();
    EXPECT_EQ(w.showAsModalDialog(option), 0);
    EXPECT_EQ(mgr().getStringValueFromKey("CreaseMode"), "None");
}

TEST_F(DetailedSettings, TheNextRunShowsThePanesOfTheManagerThereIsThen) {
    Window& w = window();
    auto old = w.tabView()->tabViewItemAtIndex(0)->sharedView();
    kzp::PanePlugInMgr::destroySharedInstance();
    press("Cancel");
    kz::Dictionary option;
    EXPECT_EQ(w.showAsModalDialog(option), 0);
    ASSERT_EQ(w.tabView()->numberOfTabViewItems(), 9);
    EXPECT_NE(w.tabView()->tabViewItemAtIndex(0)->view(), old.get());
    EXPECT_EQ(w.tabView()->tabViewItemAtIndex(0)->view(), mgr().panelViewOfBundleName("Page").get());
}

TEST_F(DetailedSettings, TheVersionPanelRunsOverTheWindow) {
    window();
    press("version info...");
    then([](kz::Window&) {});
    driver.pressKey("x");  // any key ends the version panel
    press("Cancel");
    kz::Dictionary option;
    EXPECT_EQ(Window::sharedInstance().showAsModalDialog(option), 0);
    ASSERT_EQ(windowsSeen.size(), 3u);
    EXPECT_EQ(windowsSeen[1], "Quill_AboutPanel");
}

TEST_F(DetailedSettings, AReformattedOptionHoldsEveryPanesValueUnderItsOwnEntries) {
    window();
    kz::Dictionary option{{"CreaseMode", "ZTriFold"}, {"JobName", "report"}};
    Window::sharedInstance().reformatPrintOption(option);
    EXPECT_EQ(option.get("CreaseMode").stringValue(), "ZTriFold");
    EXPECT_EQ(option.get("JobName").stringValue(), "report");
    EXPECT_TRUE(option.contains("SecurityPrint"));
    EXPECT_TRUE(option.contains("ColorModel"));
}

TEST_F(DetailedSettings, RequiredFieldsEditWithTheirOwnEditors) {
    Window& w = window();
    kzp::NoEmptyTextField required;
    kz::TextField plain;
    EXPECT_EQ(w.windowWillReturnFieldEditor(*w.window(), &required), required.fieldEditor());
    EXPECT_EQ(w.windowWillReturnFieldEditor(*w.window(), &plain), nullptr);
}

TEST(DetailedSettingsOutsideABundle, ReformattingBeforeAnyPaneIsLoadedLeavesTheOptionAlone) {
    kz::Dictionary option{{"CreaseMode", "ZTriFold"}};
    kzp::DetailedSettingsWinController::sharedInstance().reformatPrintOption(option);
    EXPECT_EQ(option, (kz::Dictionary{{"CreaseMode", "ZTriFold"}}));
    kzp::DetailedSettingsWinController::destroySharedInstance();
    kzp::PanePlugInMgr::destroySharedInstance();
}

}  // namespace
