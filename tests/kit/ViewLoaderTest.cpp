#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/kit/Application.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/WindowController.h"

using namespace kz;

namespace {
const std::string kJobName = std::string(KZ_TEST_DATA) + "/kit/JobName.plist";

struct JobNameController : WindowController {
    std::shared_ptr<TextField> jobName;
    std::shared_ptr<PopUpButton> kind;
    long code = 0;
    int awoken = 0;
    JobNameController() : WindowController(kJobName) {}
    bool connectOutlet(std::string_view name, const std::shared_ptr<View>& v) override {
        if (name == "_jobName") jobName = std::dynamic_pointer_cast<TextField>(v);
        else if (name == "_kind") kind = std::dynamic_pointer_cast<PopUpButton>(v);
        else return false;
        return true;
    }
    std::function<void(Control&)> actionForSelector(std::string_view sel) override {
        if (sel == "ok:") return [this](Control&) { Application::shared().stopModalWithCode(1); };
        if (sel == "cancel:") return [this](Control&) { Application::shared().stopModalWithCode(0); };
        return {};
    }
    void awakeFromNib() override { ++awoken; }
};
}  // namespace

TEST(ViewLoader, AWindowLoadsWithOutletsAndActionsAndDumpsAsExpected) {
    JobNameController c;
    Window* w = c.window();
    ASSERT_NE(w, nullptr) << c.loadError();
    ASSERT_TRUE(c.jobName && c.kind);
    EXPECT_EQ(c.awoken, 1);
    EXPECT_EQ(c.kind->selectedItem()->representedObject(), Value("doc"));

    ScriptedUiDriver driver;
    Application::shared().setDriver(&driver);
    driver.type("Proofs", 1).pressKey("\r");
    EXPECT_EQ(Application::shared().runModalForWindow(*w), 1);
    Application::shared().setDriver(nullptr);
    EXPECT_EQ(c.jobName->stringValue(), "Proofs");
    EXPECT_NE(ViewDump::dump(*w).find("value=\"Proofs\" editing"), std::string::npos);
    EXPECT_TRUE(w->makeFirstResponder(nullptr));

    EXPECT_EQ(ViewDump::dump(*w),
              "Panel [100 200 360 160] title=\"Job Name\"\n"
              "  View [0 0 360 160]\n"
              "    TextField [20 100 320 24] value=\"Proofs\" toolTip=\"Up to 2040 bytes\"\n"
              "    PopUpButton [20 64 200 26] selected=\"Document\" items=[\"Document\", ---, \"Proof\" (disabled)]\n"
              "    Matrix [230 40 110 48] selected=0,0 cells=[\"Now\" on, \"Later\" off (disabled)]\n"
              "    Button [150 12 90 32] title=\"Cancel\"\n"
              "    Button [250 12 90 32] title=\"OK\"\n"
              "    Box [0 130 360 30] title=\"Options\" hidden\n"
              "      View [0 0 360 30]\n"
              "        Button [4 4 100 20] title=\"Collate\" state=off\n");
}

TEST(ViewLoader, UnknownActionsKeepTheirSelectorAndUnknownOutletsAreReported) {
    std::string error;
    auto r = ViewLoader::loadFile(kJobName, nullptr, &error);
    ASSERT_TRUE(r) << error;
    EXPECT_EQ(r->unconnectedOutlets, (std::vector<std::string>{"_jobName", "_kind"}));
    EXPECT_EQ(r->unknownActions, (std::vector<std::string>{"cancel:", "ok:", "collatedSelected:"}));
    // A host control is found by its action's name.
    View* collate = ScriptedUiDriver::find(*r->view, [](View& v) {
        auto* c = dynamic_cast<Control*>(&v);
        return c && c->action().selector == "collatedSelected:";
    });
    ASSERT_NE(collate, nullptr);
    EXPECT_EQ(collate->frame(), Rect(4, 4, 100, 20));
}

TEST(ViewLoader, HostilesDescriptionsAnswerErrors) {
    std::string error;
    EXPECT_FALSE(ViewLoader::load(Value(Dictionary{{"view", Value(Dictionary{{"class", Value("NoSuch")}})}}), nullptr, &error));
    EXPECT_NE(error.find("unknown class 'NoSuch'"), std::string::npos);
    EXPECT_FALSE(ViewLoader::load(Value(Dictionary{{"view", Value(Dictionary{{"frame", Value("wide")}})}}), nullptr, &error));
    EXPECT_NE(error.find("frame"), std::string::npos);
    Value deep = Value(Dictionary{});
    for (int i = 0; i < ViewLoader::kMaxDepth + 2; ++i) deep = Value(Dictionary{{"subviews", Value(Array{deep})}});
    EXPECT_FALSE(ViewLoader::load(Value(Dictionary{{"view", deep}}), nullptr, &error));
    EXPECT_NE(error.find("deeply"), std::string::npos);
    EXPECT_FALSE(ViewLoader::load(Value(Array{}), nullptr, &error));
    EXPECT_FALSE(ViewLoader::loadFile("/nonexistent/x.plist", nullptr, &error));
    // Items of the wrong type are skipped, not trusted: they add no item.
    auto ok = ViewLoader::load(
        Value(Dictionary{{"view", Value(Dictionary{{"class", Value("PopUpButton")},
                                                   {"items", Value(Array{Value(3), Value("x"),
                                                                         Value(Dictionary{{"title", Value("A4")}})})}})}}),
        nullptr, &error);
    ASSERT_TRUE(ok) << error;
    auto* popUp = dynamic_cast<PopUpButton*>(ok->view.get());
    ASSERT_NE(popUp, nullptr);
    ASSERT_EQ(popUp->numberOfItems(), 1);
    EXPECT_EQ(popUp->menu().itemAtIndex(0)->title(), "A4");
}

TEST(ViewLoader, TheHostsAwakeHandlerIsGuardedAndBackAfterAThrow) {
    int hostCalls = 0;
    ViewLoader::setHostAwakeHandler([&](const void*) { ++hostCalls; });
    struct Throwing : ViewOwner {
        void awakeFromNib() override { throw std::runtime_error("broken pane"); }
    } owner;
    Value desc(Dictionary{{"view", Value(Dictionary{{"subviews", Value(Array{Value(Dictionary{})})}})}});
    EXPECT_THROW(
        {
            ViewLoader::HostAwakeGuard guard;
            ViewLoader::load(desc, &owner);
        },
        std::runtime_error);
    EXPECT_EQ(hostCalls, 0);
    ViewLoader::load(desc, nullptr);  // unguarded: the host hears of both views
    EXPECT_EQ(hostCalls, 2);
    ViewLoader::setHostAwakeHandler(nullptr);
}
