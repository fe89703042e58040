#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "Common/Util/BundleUtil.h"
#include "engine/dialogs/AboutPanelController.h"
#include "engine/dialogs/Quill_AboutPanel.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/Application.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/ViewLoader.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;
using namespace kz;

namespace {

const fs::path kAbout = fs::path(KZ_SOURCE_DIR) / "resources/bundle/Contents/Resources/About.plist";

void writeInfo(const fs::path& bundle, const std::string& entries) {
    fs::create_directories(bundle / "Contents/Resources");
    std::ofstream(bundle / "Contents/Info.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>" << entries << "</dict></plist>";
}

class AboutPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        _root = fs::temp_directory_path() / ("kz-about-" + std::to_string(::getpid()));
        fs::remove_all(_root);
        writeInfo(_root / "Plug.plugin",
                  "<key>CFBundleShortVersionString</key><string>2.1</string><key>VLBuildVersion</key><string>5</string>"
                  "<key>CFBundleVersion</key><string>7</string><key>NSHumanReadableCopyright</key><string>(c) T</string>");
        fs::copy_file(kAbout, _root / "Plug.plugin/Contents/Resources/About.plist");
        writeInfo(_root / "Host.app", "<key>VLAboutImage</key><string>Splash</string>");
        Image splash(40, 20);
        std::ofstream(_root / "Host.app/Contents/Resources/Splash.png", std::ios::binary) << splash.toPng();
        kzp::SetNSBundleForPrincipalBundle(Bundle::open((_root / "Plug.plugin").string()));
        Application::shared().setMainBundle(Bundle::open((_root / "Host.app").string()));
        Application::shared().setDriver(&_driver);
    }
    void TearDown() override {
        Application::shared().setDriver(nullptr);
        Application::shared().setMainBundle(nullptr);
        kzp::SetNSBundleForPrincipalBundle(nullptr);
        fs::remove_all(_root);
    }
    fs::path _root;
    ScriptedUiDriver _driver;
};

}  // namespace

TEST_F(AboutPanelTest, ShowsVersionCopyrightAndHostImageAndAKeyClosesIt) {
    kzp::AboutPanelController c;
    ASSERT_NE(c.window(), nullptr) << c.loadError();
    EXPECT_EQ(c.versionField()->stringValue(), "2.1.5 (7)");
    EXPECT_EQ(c.copyrightField()->stringValue(), "(c) T");
    ASSERT_TRUE(c.backgroundImage()->image());
    EXPECT_EQ(c.backgroundImage()->image()->name(), "Splash");
    _driver.pressKey("q");
    EXPECT_EQ(c.runModalSession(), ModalResponseStop);
    EXPECT_FALSE(c.window()->isVisible());
    EXPECT_EQ(c.window()->frame().origin.x, (1440 - 400) / 2);  // centred
}

TEST_F(AboutPanelTest, AnyMouseButtonStopsAndClosingTheWindowAborts) {
    _driver.mouseDown({5, 5}, true);
    EXPECT_EQ(kzp::AboutPanelController::runModal(), ModalResponseStop);
    _driver.closeWindow();
    EXPECT_EQ(kzp::AboutPanelController::runModal(), ModalResponseAbort);
    EXPECT_TRUE(_driver.finished());
    EXPECT_TRUE(_driver.problems().empty());
}

namespace {
struct ThrowingController : kzp::TDWindowController {
    ThrowingController() : kzp::TDWindowController(kAbout.string()) {}
    bool connectOutlet(std::string_view, const std::shared_ptr<View>&) override { throw std::runtime_error("outlet"); }
};
}  // namespace

TEST_F(AboutPanelTest, TheHostsAwakeHandlerNeverSeesOurObjectsAndComesBack) {
    int hostCalls = 0;
    ViewLoader::setHostAwakeHandler([&](const void*) { ++hostCalls; });
    kzp::AboutPanelController c;
    ASSERT_NE(c.window(), nullptr);
    EXPECT_EQ(hostCalls, 0);
    ThrowingController t;
    EXPECT_THROW(t.window(), std::runtime_error);
    // The host's own loads still reach its handler.
    ViewLoader::loadFile(kAbout.string(), nullptr);
    EXPECT_GT(hostCalls, 0);
    ViewLoader::setHostAwakeHandler(nullptr);
}

TEST(TitlelessPanel, BorderlessWithShadowOnTheLevelOfTheActivation) {
    kzp::TDWindowController::registerWindowClasses();
    Value description = Value(Dictionary{});
    Dictionary window;
    window.set("class", Value("TitlelessPanel"));
    window.set("styleMask", Value(3));
    window.set("hasShadow", Value(false));
    description.mutableDictionary().set("window", Value(window));
    auto result = ViewLoader::load(description, nullptr);
    ASSERT_TRUE(result && result->window);
    Window& panel = *result->window;
    EXPECT_EQ(panel.styleMask(), BorderlessWindowMask);
    EXPECT_TRUE(panel.hasShadow());
    EXPECT_TRUE(panel.canBecomeKeyWindow());
    EXPECT_TRUE(panel.canBecomeMainWindow());
    Application::shared().activateIgnoringOtherApps();
    EXPECT_EQ(panel.level(), WindowLevel::ModalPanel);
    Application::shared().deactivate();
    EXPECT_EQ(panel.level(), WindowLevel::Floating);
    Application::shared().activateIgnoringOtherApps();
    EXPECT_EQ(panel.level(), WindowLevel::ModalPanel);
}
