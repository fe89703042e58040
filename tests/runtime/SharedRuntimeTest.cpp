// Two pane libraries loaded at run time meet the host's own process-wide
// objects: one runtime library, exported types whose identity holds across
// the libraries (exceptions, dynamic_cast), and the plug-in's own library.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/controls/QuillUI.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/preferences/AppPreference.h"
#include "engine/rules/QuillMgr.h"
#include "panes/TestPaneApi.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Workspace.h"
#include "platform/printing/PDEPlugIn.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using namespace runtimetest;

namespace {

const std::string kHost = KZ_RUNTIME_TEST_BUNDLE;

struct Pane {
    std::shared_ptr<kz::Bundle> bundle;
    template <class Fn>
    Fn fn(const char* name) const {
        auto f = reinterpret_cast<Fn>(bundle->symbol(name));
        EXPECT_NE(f, nullptr) << name;
        return f;
    }
};

Pane loadPane(const std::string& name) {
    auto bundle = kz::Bundle::open(kHost + "/Contents/PlugIns/" + name + ".bundle");
    EXPECT_NE(bundle, nullptr) << name;
    std::string error;
    EXPECT_TRUE(bundle && bundle->load(&error)) << error;
    return {bundle};
}

SharedObjects hostObjects() {
    return {&kz::NotificationCenter::defaultCenter(), &kz::Application::shared(), &kz::Workspace::shared(),
            &kzp::PrintOptionConverter::sharedInstance(), &kzp::AppPreference::sharedInstance(),
            &kzp::QuillUI::sharedPrintOption(), &kzp::PanePlugInMgr::sharedInstance(),
            &kzp::PanePlugInMgr::sharedInstance().quillMgr()};
}

void expectSame(const SharedObjects& a, const SharedObjects& b) {
    EXPECT_EQ(a.notificationCenter, b.notificationCenter);
    EXPECT_EQ(a.application, b.application);
    EXPECT_EQ(a.workspace, b.workspace);
    EXPECT_EQ(a.printOptionConverter, b.printOptionConverter);
    EXPECT_EQ(a.appPreference, b.appPreference);
    EXPECT_EQ(a.sharedPrintOption, b.sharedPrintOption);
    EXPECT_EQ(a.paneManager, b.paneManager);
    EXPECT_EQ(a.quillMgr, b.quillMgr);
}

}  // namespace

TEST(SharedRuntime, TwoPanesAndTheHostSeeOneOfEachProcessWideObject) {
    Pane one = loadPane("PaneOne"), two = loadPane("PaneTwo");
    ASSERT_TRUE(one.bundle && two.bundle);
    // Two libraries, not one loaded twice.
    EXPECT_NE(one.fn<void*>("kzTestSharedObjects"), two.fn<void*>("kzTestSharedObjects"));
    SharedObjects host = hostObjects();
    expectSame(one.fn<SharedObjectsFn>("kzTestSharedObjects")(), host);
    expectSame(two.fn<SharedObjectsFn>("kzTestSharedObjects")(), host);
}

TEST(SharedRuntime, ARegistryFilledByOnePaneIsReadByTheOtherAndItsPostsReachTheHost) {
    Pane one = loadPane("PaneOne"), two = loadPane("PaneTwo");
    kzp::QuillMgr mgr;
    one.fn<RegisterPopUpFn>("kzTestRegisterPopUp")(mgr, "CrossTray");
    kzp::QuillUI* control = mgr.firstControl("CrossTray");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(two.fn<ValueOfFn>("kzTestValueOf")(mgr, "CrossTray"), "A");
    mgr.setStringValue("CrossTray", std::string("B"));
    EXPECT_EQ(two.fn<ValueOfFn>("kzTestValueOf")(mgr, "CrossTray"), "B");

    std::string heard;
    int owner = 0;
    auto& center = kz::NotificationCenter::defaultCenter();
    center.addObserver(&owner, "CrossPost", nullptr, [&](const kz::NotificationCenter::Notification& n) {
        heard = n.userInfo.get("Paramater").stringValue();
    });
    two.fn<PostFn>("kzTestPost")("CrossPost", "from pane two");
    center.removeObserver(&owner);
    EXPECT_EQ(heard, "from pane two");
}

TEST(SharedRuntime, TypesKeepTheirIdentityAcrossTheLibraries) {
    Pane one = loadPane("PaneOne");
    // An exception of a type both sides know, caught by that type.
    try {
        one.fn<ThrowFn>("kzTestThrow")("thrown in a pane", 7);
        ADD_FAILURE() << "nothing thrown";
    } catch (const PaneFailure& e) {
        EXPECT_STREQ(e.what(), "thrown in a pane");
        EXPECT_EQ(e.code, 7);
    }
    // A runtime view made in the pane, found by dynamic_cast in the host.
    std::unique_ptr<kz::View> view(one.fn<MakeButtonFn>("kzTestMakeButton")("OK"));
    auto* button = dynamic_cast<kz::Button*>(view.get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->title(), "OK");
    EXPECT_EQ(dynamic_cast<kz::PopUpButton*>(view.get()), nullptr);
    // The pane's principal object, handed out as one interface, is another
    // (a cross cast needs both types' identity on both sides).
    std::unique_ptr<kz::ViewOwner> principal(static_cast<kz::ViewOwner*>(one.bundle->principalObject()));
    auto* state = dynamic_cast<kzp::NetworkDataState*>(principal.get());
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->isInitializedNetworkData());
}

TEST(SharedRuntime, ThePlugInsLibraryHandsOutItsPrincipalObjectAsTheHostProtocol) {
    auto bundle = kz::Bundle::open(KZ_BUNDLE_DIR);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(bundle->executablePath(), std::string(KZ_BUNDLE_DIR) + "/Contents/Linux/KZPrintServer.so");
    std::string error;
    std::unique_ptr<kz::PDEPlugIn> plugIn(static_cast<kz::PDEPlugIn*>(bundle->principalObject(&error)));
    ASSERT_NE(plugIn, nullptr) << error;
    // Reached through the interface alone: a type it does not offer.
    EXPECT_FALSE(plugIn->PDEPanelsForType("not a panel type", nullptr).has_value());
    // Each call makes a new one.
    std::unique_ptr<kz::PDEPlugIn> second(static_cast<kz::PDEPlugIn*>(bundle->principalObject()));
    EXPECT_NE(second.get(), plugIn.get());
}
