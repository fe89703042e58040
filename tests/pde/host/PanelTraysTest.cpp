// The panel's tray windows as a print dialog's user meets them, with the
// product's descriptions and with descriptions of another model (the tabbed
// paper type, a weight typed as a value, no optional media properties).
#include "PanelHost.h"
#include "engine/controls/QuillUI.h"
#include "platform/kit/Window.h"

using namespace paneltest;

namespace {

constexpr const char* kTabbed = "PaperType_MediaTypeTabbed";

kz::Button* trayButton(kz::View* root, long tag) {
    return dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(*root, [&](kz::View& v) {
        auto* b = dynamic_cast<kz::Button*>(&v);
        return b && b->action().selector == "clickedSelectPaperTraySelectionButton:" && b->tag() == tag;
    }));
}

kzp::QuillUI* controlIn(kz::Window& window, const std::string& keyword) {
    return dynamic_cast<kzp::QuillUI*>(kz::ScriptedUiDriver::find(window.contentView(), [&](kz::View& v) {
        auto* q = dynamic_cast<kzp::QuillUI*>(&v);
        return q && q->mainKeyword() == keyword;
    }));
}

// The product's descriptions with the paper type of the tabbed model, the
// weight as a typed value and none of the optional media properties.
kz::Dictionary otherModel() {
    kz::Dictionary product =
        kz::PropertyList::readFile(kBundle + "/Contents/Resources/KZPrintServerUI.plist").dictionary();
    kz::Dictionary out;
    for (const auto& [key, value] : product) {
        if (key == "PaperTypeD") {
            kz::Dictionary tabbed = value.dictionary();
            tabbed.set("mainKeyword", kTabbed);
            out.set(kTabbed, kz::Value(std::move(tabbed)));
        } else if (key == "MediaTypeWeight") {
            out.set("MediaTypeWeightValue",
                    kz::Value(kz::Dictionary{{"mainKeyword", kz::Value("MediaTypeWeightValue")},
                                             {"control_type", kz::Value("TextField_text")},
                                             {"text", kz::Value("Paper Weight")}}));
        } else if (!key.starts_with("MediaTypeCoating") && key != "MediaTypeDrilled" && key != "MediaTypeGlossFine" &&
                   key != "MediaTypePreprinted") {
            out.set(key, value);
        }
    }
    return out;
}

}  // namespace

TEST_F(PanelTest, TheAutomaticWindowShowsTheFullWidthWithTheMediaPropertiesAndClosesWithItsValues) {
    auto host = std::make_shared<MarkingHost>();
    auto p = makePanel(host);
    ASSERT_TRUE(p && p->restoreValuesAndReturnError(nullptr));
    kz::View* view = p->panelView().get();
    p->willShow();
    double width = 0;
    std::string title, closeTitle;
    bool nameEnabled = true;
    driver.then([&](kz::Application&, kz::Window& w) {
              width = w.frame().size.width;
              title = w.title();
              nameEnabled = controlIn(w, "PaperColorCustomName")->isEnabled();
              return true;
          })
        .choose("Ivory")
        .press("Close");
    trayButton(view, 0)->performClick();
    EXPECT_TRUE(driver.finished()) << (driver.problems().empty() ? "" : driver.problems().front());
    EXPECT_EQ(width, 640);
    EXPECT_EQ(title, "Automatic Tray Selection");
    EXPECT_FALSE(nameEnabled);
    EXPECT_EQ(registry("PaperColor"), "Ivory");
    ASSERT_TRUE(p->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->marked("PaperColor"), "Ivory");
}

TEST_F(PanelTest, AnotherModelsPaperTypeAndWeightAreDescribedRestoredAndGathered) {
    auto bundle = bundleCopy({{"VLPOD", kz::Value("OtherModelUI")}}, {{"OtherModelUI.plist", kz::Value(otherModel())}});
    ASSERT_NE(bundle, nullptr);
    auto host = std::make_shared<MarkingHost>();
    host->settings.setValue(customKey(kTabbed), kz::Value("Tab"));
    host->settings.setValue(customKey("MediaTypeWeightValue"), kz::Value("157"));
    auto p = makePanel(host, bundle);
    ASSERT_TRUE(p && p->restoreValuesAndReturnError(nullptr));
    kz::View* view = p->panelView().get();
    p->willShow();
    EXPECT_EQ(registry(kTabbed), "Tab");
    EXPECT_EQ(registry("MediaTypeWeightValue"), "157");
    double width = 0;
    bool hasPaperTypeD = true, hasWeightChoice = true;
    driver.then([&](kz::Application&, kz::Window& w) {
              // Only the left half: nothing to show on the right.
              width = w.frame().size.width;
              hasPaperTypeD = controlIn(w, "PaperTypeD") != nullptr;
              hasWeightChoice = controlIn(w, "MediaTypeWeight") != nullptr;
              return true;
          })
        .choose("Recycled")
        .press("Close");
    trayButton(view, 0)->performClick();
    EXPECT_TRUE(driver.finished()) << (driver.problems().empty() ? "" : driver.problems().front());
    EXPECT_EQ(width, 640 / 2 + 32);
    EXPECT_FALSE(hasPaperTypeD);
    EXPECT_FALSE(hasWeightChoice);
    ASSERT_TRUE(p->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->custom(kTabbed), "Recycled");
    EXPECT_EQ(host->custom("PaperTypeD"), std::nullopt);
    EXPECT_EQ(host->custom("MediaTypeWeightValue"), "157");
}

TEST_F(PanelTest, TheBypassWindowIsHalfWideAndClosedWhileTheAutomaticSettingsServeTheBypassTray) {
    auto host = std::make_shared<MarkingHost>();
    auto p = makePanel(host);
    ASSERT_TRUE(p && p->restoreValuesAndReturnError(nullptr));
    kz::View* view = p->panelView().get();
    p->willShow();
    kz::Button* bypass = trayButton(view, 1);
    ASSERT_NE(bypass, nullptr);
    EXPECT_FALSE(bypass->isHidden());
    double width = 0;
    std::string title;
    driver.then([&](kz::Application&, kz::Window& w) {
              width = w.frame().size.width;
              title = w.title();
              return true;
          })
        .press("Close");
    bypass->performClick();
    EXPECT_EQ(width, 640 / 2 + 32);
    EXPECT_EQ(title, "Bypass Tray");
    manager().setStringValue(std::string("True"), "AutoTraySettingToBypass");
    ASSERT_TRUE(p->saveValuesAndReturnError(nullptr));
    EXPECT_FALSE(bypass->isEnabled());
}
