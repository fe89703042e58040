// The manager as the panes' callback object: describing and registering
// option controls, profile menus, menu items and delayed actions.
#include <gmock/gmock.h>

#include "PaneTestSupport.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TabViewItem.h"

using namespace panetest;
using ::testing::ElementsAre;

namespace {

kz::Dictionary popupDescription(const std::string& keyword) {
    return kz::Dictionary{{"mainKeyword", keyword},
                          {"control_type", "PopupButton"},
                          {"text", "Label"},
                          {"default", "On"},
                          {"choices", kz::Array{kz::Dictionary{{"choice", "Off"}, {"text", "Off"}},
                                                kz::Dictionary{{"choice", "On"}, {"text", "On"}}}}};
}

std::shared_ptr<kzp::QuillUI> tooltipped(const std::string& tip) {
    auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 40));
    control->setToolTip(tip);
    return control;
}

TEST(PaneControls, OnlyTooltippedControlsAreDescribedAndStored) {
    PlugInFixture f;
    auto& mgr = f.manager();
    kz::Dictionary descriptions{{"Staple", popupDescription("Staple")}, {"Punch", popupDescription("Punch")}};
    auto staple = tooltipped("Staple");
    auto bare = tooltipped("");
    auto null = tooltipped("(null)");
    kzp::PanePlugInMgr::Controls controls{staple, bare, null};
    kzp::PanePlugInMgr::ControlMap out;
    ASSERT_TRUE(mgr.setupQuillUIControls(&controls, &descriptions, &out, nullptr));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].first, "Staple");
    EXPECT_EQ(staple->mainKeyword(), "Staple");
    EXPECT_EQ(staple->toolTip(), "");  // the keyword does not stay a tooltip
    EXPECT_NE(staple->popupButton(), nullptr);
    EXPECT_EQ(bare->mainKeyword(), "");
    EXPECT_EQ(null->mainKeyword(), "");
    EXPECT_FALSE(mgr.setupQuillUIControls(nullptr, &descriptions, &out, nullptr));
    EXPECT_FALSE(mgr.setupQuillUIControls(&controls, nullptr, &out, nullptr));
    EXPECT_FALSE(mgr.setupQuillUIControls(&controls, &descriptions, nullptr, nullptr));
}

TEST(PaneControls, ControlsAreCollectedThroughTabViewsOnly) {
    PlugInFixture f;
    auto& mgr = f.manager();
    kz::View root(kz::Rect(0, 0, 500, 500));
    auto first = tooltipped("A");
    root.addSubview(first);
    auto box = std::make_shared<kz::View>(kz::Rect(0, 0, 100, 100));
    box->addSubview(tooltipped("Hidden in a plain view"));
    root.addSubview(box);
    auto tabs = std::make_shared<kz::TabView>(kz::Rect(0, 0, 400, 400));
    auto page = std::make_shared<kz::View>(kz::Rect(0, 0, 300, 300));
    auto inTab = tooltipped("B");
    page->addSubview(inTab);
    auto item = std::make_shared<kz::TabViewItem>("one");
    item->setView(page);
    tabs->addTabViewItem(item);
    root.addSubview(tabs);
    auto found = mgr.getQuillUIControls(&root);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], first);
    EXPECT_EQ(found[1], inTab);
    EXPECT_TRUE(mgr.getQuillUIControls(nullptr).empty());
}

TEST(PaneControls, BuildPaneUiRegistersAndAnnouncesEachControlAndItsChildren) {
    PlugInFixture f;
    auto& mgr = f.manager();
    TestPane pane;
    auto staple = tooltipped("");
    staple->setControlDictionary(popupDescription("Staple"));
    staple->updateControl();
    pane.controls = {staple, nullptr};
    std::vector<std::string> posts;
    kz::NotificationCenter::defaultCenter().addObserver(&posts, "", nullptr,
                                                        [&](const auto& n) { posts.push_back(n.name); });
    mgr.buildPaneUi(pane, nullptr);
    kz::NotificationCenter::defaultCenter().removeObserver(&posts);
    EXPECT_EQ(mgr.quillMgr().firstControl("Staple"), staple.get());
    EXPECT_EQ(std::count(posts.begin(), posts.end(), "Staple"), 1);
    EXPECT_EQ(mgr.getStringValueFromKey("Staple"), "On");
    mgr.setStringValue(std::string("Off"), "Staple");
    EXPECT_EQ(mgr.getStringValueFromKey("Staple"), "Off");

    struct ThrowingList : TestPane {
        std::vector<std::shared_ptr<kzp::QuillUI>> getListQuillUI() override { throw std::runtime_error("no"); }
    } throwing;
    mgr.buildPaneUi(throwing, nullptr);  // swallowed
}

TEST(PaneControls, ProfileMenusGrowFromTheirLastItem) {
    PlugInFixture f;
    writeText(f.resources() + "/en.lproj/UI.strings", "\"Profile\" = \"Profile \";\n");
    auto& mgr = f.manager();
    // A pane's profile menu descriptions, with the last number it asks for.
    struct ProfilePane : TestPane, kzp::PaneProfileUi {
        std::shared_ptr<kz::PopUpButton> menu = std::make_shared<kz::PopUpButton>(kz::Rect(0, 0, 100, 20));
        std::string format = "Profile%d";
        int last = 3;
        std::optional<kzp::ProfileUiInformations> profileUiInformations() override {
            return kzp::ProfileUiInformations{{"VLProfile", {format, last, menu, std::nullopt}}};
        }
    } pane;
    auto& popup = pane.menu;
    mgr.buildPaneUi(pane, f.bundle);
    auto keywords = [&] {
        std::vector<std::string> list;
        for (int i = 0; i < popup->numberOfItems(); ++i)
            list.push_back(mgr.representedObjectOfMenuItem(popup->itemAtIndex(i), "optionKeyword").stringValue());
        return list;
    };
    EXPECT_THAT(keywords(), ElementsAre("Profile1", "Profile2", "Profile3"));
    EXPECT_EQ(popup->itemAtIndex(2)->title(), "Profile 3");
    EXPECT_EQ(mgr.representedObjectOfMenuItem(popup->itemAtIndex(0), "mainKeyword"), kz::Value("VLProfile"));
    pane.last = 5;
    mgr.buildPaneUi(pane, f.bundle);
    EXPECT_THAT(keywords(), ElementsAre("Profile1", "Profile2", "Profile3", "Profile4", "Profile5"));
    EXPECT_EQ(popup->itemAtIndex(4)->title(), "Profile 5");
    mgr.buildPaneUi(pane, f.bundle);
    EXPECT_EQ(popup->numberOfItems(), 5);
    pane.menu = nullptr;
    mgr.buildPaneUi(pane, f.bundle);  // no menu: nothing to grow

    // Without a bundle there is no title prefix.
    ProfilePane bare;
    bare.format = "Color%d";
    bare.last = 2;
    mgr.buildPaneUi(bare, nullptr);
    ASSERT_EQ(bare.menu->numberOfItems(), 2);
    EXPECT_EQ(bare.menu->itemAtIndex(1)->title(), "2");
}

TEST(PaneControls, MenuItemsNeedEveryPart) {
    PlugInFixture f;
    auto& mgr = f.manager();
    kz::Menu menu("m");
    mgr.addMenuItem(&menu, std::string("Staple"), std::string("Two staples"), std::string("Two"));
    mgr.addMenuItem(&menu, std::string("Staple"), std::nullopt, std::string("Three"));
    mgr.addMenuItem(nullptr, std::string("Staple"), std::string("x"), std::string("y"));
    ASSERT_EQ(menu.numberOfItems(), 2);
    EXPECT_EQ(menu.itemAtIndex(0)->title(), "Two staples");
    EXPECT_EQ(mgr.representedObjectOfMenuItem(menu.itemAtIndex(0), "optionKeyword"), kz::Value("Two"));
    EXPECT_EQ(menu.itemAtIndex(1)->title(), "");
    EXPECT_TRUE(menu.itemAtIndex(1)->representedObject().isNull());
    mgr.setMenuItem(menu.itemAtIndex(0), std::string("Staple"), std::string("Renamed"), std::nullopt);
    EXPECT_EQ(menu.itemAtIndex(0)->title(), "Two staples");
    EXPECT_TRUE(mgr.representedObjectOfMenuItem(nullptr, "optionKeyword").isNull());
}

TEST(PaneControls, DelayedActionsRunOnlyInTheModalPanelMode) {
    PlugInFixture f;
    auto& mgr = f.manager();
    auto button = std::make_shared<kz::Button>(kz::Rect(0, 0, 10, 10));
    int runs = 0;
    kz::Control* sender = nullptr;
    button->setAction({"pressed:", [&](kz::Control& c) { ++runs, sender = &c; }});
    mgr.delayedAction(button.get());
    auto plain = std::make_shared<kz::Button>(kz::Rect(0, 0, 10, 10));
    mgr.delayedAction(plain.get());  // no action: nothing scheduled
    kz::RunLoop::current().runMode(kz::RunLoop::kDefaultMode);
    EXPECT_EQ(runs, 0);
    kz::RunLoop::current().runMode(kz::RunLoop::kModalPanelMode);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sender, button.get());
    // A control gone before the run loop turns is not acted on.
    mgr.delayedAction(button.get());
    button.reset();
    kz::RunLoop::current().runMode(kz::RunLoop::kModalPanelMode);
    EXPECT_EQ(runs, 1);
}

}  // namespace
