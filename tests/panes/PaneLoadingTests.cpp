// Loading panes: roles from the panes tree, bundles at any depth, the
// configuration, incremental view loading, and bundles that cannot serve.
#include <gmock/gmock.h>

#include "PaneTestSupport.h"
#include "platform/foundation/Log.h"
#include "platform/kit/ViewLoader.h"

using namespace panetest;
using ::testing::ElementsAre;

namespace {

kz::Dictionary node(const std::string& bundleName) { return kz::Dictionary{{"bundleName", bundleName}}; }

TEST(PaneLoading, RolesLoadOneInstanceEachAndDependencyMainKeywordIsSkipped) {
    PlugInFixture f;
    kz::Dictionary layout = node("Layout");
    // The entry under "mainKeyword" names no pane, whatever it holds.
    layout.set("dependency", kz::Dictionary{{"mainKeyword", node("Other+Role")}, {"page", node("Page")}});
    f.panesTree(kz::Dictionary{{"items", kz::Array{node("Media+Front"), layout, node("Media+Back")}}});
    RegisteredClass cls("TestPane");
    for (const char* name : {"Media", "Layout", "Other", "Page", "Plain"}) f.pane(name, "TestPane");
    auto& mgr = f.manager();

    ASSERT_TRUE(mgr.loadPlugIns());
    auto keys = tableKeys(mgr);
    std::sort(keys.begin(), keys.end());
    EXPECT_THAT(keys, ElementsAre("Layout", "Media+Back", "Media+Front", "Other", "Page", "Plain"));
    auto front = mgr.paneControllerOfBundleName("Media+Front");
    auto back = mgr.paneControllerOfBundleName("Media+Back");
    ASSERT_TRUE(front && back);
    EXPECT_NE(front.get(), back.get());
    EXPECT_EQ(mgr.roleName(front.get()), "Front");
    EXPECT_EQ(mgr.roleName(back.get()), "Back");
    EXPECT_EQ(mgr.roleName(mgr.paneControllerOfBundleName("Plain").get()), std::nullopt);
    EXPECT_EQ(cls.made.size(), 6u);
    // Each instance was told its own bundle and the manager.
    EXPECT_EQ(cls.made[0]->callback, &mgr);

    // A second load keeps the plain panes and makes the role panes anew.
    auto plain = mgr.paneControllerOfBundleName("Plain");
    mgr.loadPlugIns();
    EXPECT_EQ(mgr.paneControllerOfBundleName("Plain"), plain);
    EXPECT_NE(mgr.paneControllerOfBundleName("Media+Front"), front);
    EXPECT_EQ(mgr.plugInTable().size(), 6u);
}

TEST(PaneLoading, WithoutTreeEveryBundleLoadsOnceAtAnyDepth) {
    PlugInFixture f;
    RegisteredClass cls("TestPane");
    f.pane("Media", "TestPane");
    f.pane("Deep", "TestPane", "group/inner");
    f.pane("Nested", "TestPane", "Media.bundle/Contents/PlugIns");
    kz::LogCapture log;
    auto& mgr = f.manager();
    ASSERT_TRUE(mgr.loadPlugIns());
    EXPECT_TRUE(log.contains("### Error: panesTreeDictionary does not loaded."));
    auto keys = tableKeys(mgr);
    std::sort(keys.begin(), keys.end());
    EXPECT_THAT(keys, ElementsAre("Deep", "Media", "Nested"));
    EXPECT_EQ(mgr.panesTreeDictionary(), std::nullopt);
}

TEST(PaneLoading, EmptyPlugInsFolderLoadsNothing) {
    PlugInFixture f;
    auto& mgr = f.manager();
    EXPECT_FALSE(mgr.loadPlugIns());
    EXPECT_FALSE(mgr.loadPanelView());
    EXPECT_EQ(mgr.paneControllerOfBundleName("Page"), nullptr);
    EXPECT_EQ(mgr.panelNameOfBundleName("Page"), std::nullopt);
}

TEST(PaneLoading, ConfigurationFromInfoPlist) {
    {
        PlugInFixture f(kz::Dictionary{{"VLPOD", "Missing"}, {"VLTabTreeView", true}, {"isHiddenDuplex", true},
                                       {"isHiddenCollate", "YES"}});
        auto& mgr = f.manager();
        EXPECT_EQ(mgr.isPOD(), "Missing");
        EXPECT_EQ(mgr.getUIFilePath(), std::nullopt);
        EXPECT_TRUE(mgr.getTabTreeView());
        EXPECT_TRUE(mgr.isHiddenDuplex());
        EXPECT_FALSE(mgr.isHiddenCollate());  // only a true boolean counts
        EXPECT_FALSE(mgr.isHiddenNumCopies());
    }
    {
        PlugInFixture f(kz::Dictionary{{"VLPOD", "Main"}});
        writeText(f.resources() + "/Main.plist", "<plist><dict/></plist>");
        auto& mgr = f.manager();
        EXPECT_EQ(mgr.getUIFilePath(), f.resources() + "/Main.plist");
        EXPECT_FALSE(mgr.getTabTreeView());
    }
    {
        // A configuration that names a path outside the resources is no file of them.
        PlugInFixture f(kz::Dictionary{{"VLPOD", "../Info"}});
        EXPECT_EQ(f.manager().getUIFilePath(), std::nullopt);
    }
}

TEST(PaneLoading, PanelViewsLoadOnePerCallUnderTheHostAwakeGuard) {
    PlugInFixture f;
    RegisteredClass cls("TestPane");
    for (const char* name : {"A", "B", "C"}) f.pane(name, "TestPane");
    auto& mgr = f.manager();
    ASSERT_TRUE(mgr.loadPlugIns());
    int hostAwakes = 0;
    kz::ViewLoader::setHostAwakeHandler([&](const void*) { ++hostAwakes; });
    // A view description loaded by the pane runs whatever handler is in place.
    for (TestPane* pane : cls.made)
        pane->onView = [] {
            if (const auto& handler = kz::ViewLoader::hostAwakeHandler()) handler(nullptr);
        };
    EXPECT_TRUE(mgr.loadPanelView());
    EXPECT_TRUE(mgr.loadPanelView());
    EXPECT_TRUE(mgr.loadPanelView());
    EXPECT_FALSE(mgr.loadPanelView());
    EXPECT_EQ(hostAwakes, 0);
    for (TestPane* pane : cls.made) EXPECT_EQ(pane->viewLoads, 1);
    kz::ViewLoader::hostAwakeHandler()(nullptr);  // put back afterwards
    EXPECT_EQ(hostAwakes, 1);
    kz::ViewLoader::setHostAwakeHandler(nullptr);
}

TEST(PaneLoading, APaneThatThrowsCostsOnlyItself) {
    PlugInFixture f;
    RegisteredClass good("GoodPane");
    RegisteredClass bad("BadPane", [] {
        auto* pane = new TestPane();
        pane->onView = [] { throw std::runtime_error("broken view"); };
        return pane;
    });
    f.pane("Good", "GoodPane");
    f.pane("Bad", "BadPane");
    kz::ViewLoader::setHostAwakeHandler([](const void*) {});
    auto& mgr = f.manager();
    ASSERT_TRUE(mgr.loadPlugIns());
    EXPECT_EQ(mgr.panelViewOfBundleName("Bad"), nullptr);
    EXPECT_TRUE(kz::ViewLoader::hostAwakeHandler());  // put back after the throw too
    EXPECT_NE(mgr.panelViewOfBundleName("Good"), nullptr);
    EXPECT_TRUE(mgr.rebuildPanes("Test.ppd", std::nullopt));
    kz::ViewLoader::setHostAwakeHandler(nullptr);
}

TEST(PaneLoading, BundlesThatCannotServeAreSkippedWithALogLine) {
    PlugInFixture f;
    auto library = [&](const std::string& bundle, const std::string& file) {
        fs::create_directories(bundle + "/Contents/Linux");
        fs::copy_file(file, bundle + "/Contents/Linux/" + fs::path(bundle).stem().string() + ".so");
    };
    library(f.pane("Good", "LibraryPane"), KZ_TEST_PANES_LIBRARY);
    library(f.pane("Wrong", "NotAPane"), KZ_TEST_PANES_LIBRARY);
    library(f.pane("Refusing", "RefusingPane"), KZ_TEST_PANES_LIBRARY);
    library(f.pane("Throwing", "ThrowingInitPane"), KZ_TEST_PANES_LIBRARY);
    library(f.pane("Unknown", "NoSuchPane"), KZ_TEST_PANES_LIBRARY);
    library(f.pane("NoFactory", "LibraryPane"), KZ_TEST_NO_FACTORY_LIBRARY);
    std::string text = f.pane("Text", "LibraryPane");
    writeText(text + "/Contents/Linux/Text.so", "not a library");
    f.pane("NoLibrary", "LibraryPane");
    writePlist(f.plugIns() + "/NoClass.bundle/Contents/Info.plist", kz::Dictionary{{"CFBundleExecutable", "x.so"}});
    writeText(f.plugIns() + "/NotAFolder.bundle", "a file");

    kz::LogCapture log;
    auto& mgr = f.manager();
    ASSERT_TRUE(mgr.loadPlugIns());
    EXPECT_THAT(tableKeys(mgr), ElementsAre("Good"));
    EXPECT_EQ(mgr.panelNameOfBundleName("Good"), "Library pane");
    EXPECT_NE(mgr.panelViewOfBundleName("Good"), nullptr);
    for (const char* name : {"Wrong", "Refusing", "Throwing", "Unknown", "NoFactory", "Text", "NoLibrary", "NoClass"})
        EXPECT_TRUE(log.contains(std::string("/") + name + ".bundle skipped")) << name;
    EXPECT_TRUE(log.contains("no pane controller"));
    EXPECT_TRUE(log.contains("initializePanel answered false"));
    EXPECT_TRUE(log.contains("cannot start"));
}

TEST(PaneLoading, LoadingByName) {
    struct Refusing : TestPane {
        bool initializePanel(const std::shared_ptr<kz::Bundle>&, kzp::PanePlugInMgr*) override { return false; }
    };
    PlugInFixture f;
    RegisteredClass cls("TestPane");
    RegisteredClass refusing("RefusingTestPane", [] { return new Refusing(); });
    f.pane("Extra", "TestPane");
    f.pane("Page", "TestPane");
    f.pane("Refuses", "RefusingTestPane");
    auto& mgr = f.manager();
    auto extra = mgr._loadPaneControllerWithName("Extra");
    ASSERT_NE(extra, nullptr);
    EXPECT_THAT(tableKeys(mgr), ElementsAre("Extra"));
    EXPECT_EQ(mgr._loadPaneControllerWithName("Extra"), nullptr);  // already in the table
    // A pane that refuses to start is handed back, not stored.
    EXPECT_NE(mgr._loadPaneControllerWithName("Refuses"), nullptr);
    EXPECT_THAT(tableKeys(mgr), ElementsAre("Extra"));
    EXPECT_EQ(mgr._loadPaneControllerWithName(""), nullptr);
    EXPECT_EQ(mgr._loadPaneControllerWithName("Missing"), nullptr);
    EXPECT_EQ(mgr._loadPaneControllerWithName("../Test"), nullptr);
    mgr.loadPlugIns();
    EXPECT_EQ(mgr._loadPaneControllerWithName("Page"), nullptr);  // already in the table
}

TEST(PaneLoading, WillShowReachesPanesThatOfferItAndSetsTheNetworkFlag) {
    struct ShowingPane : TestPane, kzp::PaneWillShow {
        int shown = 0;
        void willShow() override { ++shown; }
    };
    PlugInFixture f;
    ShowingPane* showing = nullptr;
    RegisteredClass cls("ShowingPane", [&] { return showing = new ShowingPane(); });
    RegisteredClass plain("TestPane");
    f.pane("Shows", "ShowingPane");
    f.pane("Plain", "TestPane");
    auto& mgr = f.manager();
    mgr.loadPlugIns();
    EXPECT_FALSE(mgr.isInitializedNetworkData());
    EXPECT_FALSE(mgr.quillMgr().hasBackup("x"));
    mgr.willShowAllBundle();
    ASSERT_NE(showing, nullptr);
    EXPECT_EQ(showing->shown, 1);
    EXPECT_TRUE(mgr.isInitializedNetworkData());
}

TEST(PaneLoading, DestroyingTheManagerMakesANewOne) {
    PlugInFixture f;
    auto& first = f.manager();
    first.setHostName("printer.local");
    kzp::PanePlugInMgr::destroySharedInstance();
    EXPECT_FALSE(kzp::PanePlugInMgr::hasSharedInstance());
    auto& second = kzp::PanePlugInMgr::sharedInstance();
    EXPECT_EQ(second.getHostName(), std::nullopt);
    EXPECT_THROW(second.updateProfilesOfAllBundles("/x.cps"), std::logic_error);
}

}  // namespace
