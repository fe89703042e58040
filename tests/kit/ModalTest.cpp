#include <gtest/gtest.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"
#include "platform/kit/SavePanel.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"

using namespace kz;

namespace {
// Installs a script as the application's driver for one test.
struct Scripted : ::testing::Test {
    ScriptedUiDriver driver;
    void SetUp() override { Application::shared().setDriver(&driver); }
    void TearDown() override { Application::shared().setDriver(nullptr); }

    static std::shared_ptr<Button> addButton(Window& w, const std::string& title, std::function<void(Control&)> f) {
        auto b = std::make_shared<Button>(Rect(0, 0, 80, 24));
        b->setTitle(title);
        b->setAction({title + ":", std::move(f)});
        w.contentView().addSubview(b);
        return b;
    }
};
}  // namespace

TEST_F(Scripted, ModalSessionsNestAndAnswerTheirStopCodes) {
    Application& app = Application::shared();
    Window outer, inner;
    long innerCode = 0;
    addButton(outer, "Details", [&](Control&) { innerCode = app.runModalForWindow(inner); });
    addButton(outer, "Done", [&](Control&) { app.stopModalWithCode(42); });
    addButton(inner, "Close", [&](Control&) {
        EXPECT_EQ(app.modalDepth(), 2);
        app.stopModalWithCode(7);
    });
    driver.press("Details").press("Close").press("Done");
    EXPECT_EQ(app.runModalForWindow(outer), 42);
    EXPECT_EQ(innerCode, 7);
    EXPECT_EQ(app.modalWindow(), nullptr);
    EXPECT_TRUE(driver.finished());
}

TEST_F(Scripted, TheModalPanelModeTurnsWhileASessionRuns) {
    Application& app = Application::shared();
    Window w;
    std::vector<std::string> ran;
    RunLoop::current().perform([&] { ran.push_back("default"); }, 0, {RunLoop::kDefaultMode});
    RunLoop::current().perform([&] { ran.push_back("modal:" + RunLoop::current().currentMode()); }, 0,
                               {RunLoop::kModalPanelMode});
    addButton(w, "Done", [&](Control&) { app.stopModal(); });
    driver.press("Done");
    app.runModalForWindow(w);
    EXPECT_EQ(ran, std::vector<std::string>{"modal:NSModalPanelRunLoopMode"});
    RunLoop::current().cancelAll();
}

TEST_F(Scripted, ARunOutScriptAbortsTheSession) {
    Window w;
    LogCapture log;
    driver.press("Missing");
    EXPECT_EQ(Application::shared().runModalForWindow(w), ModalResponseAbort);
    EXPECT_EQ(driver.problems(), std::vector<std::string>{"no button 'Missing'"});
}

TEST_F(Scripted, AlertButtonsAnswerFromAThousandAndKeysFindDefaultAndCancel) {
    Alert a;
    a.setMessageText("Delete the favorite?");
    a.addButtonWithTitle("Delete");
    a.addButtonWithTitle("Cancel");
    a.addButtonWithTitle("Other");
    driver.press("Other");
    EXPECT_EQ(a.runModal(), AlertThirdButtonReturn);
    driver.pressKey("\x1b");
    EXPECT_EQ(a.runModal(), AlertSecondButtonReturn);
    driver.pressKey("\r");
    EXPECT_EQ(a.runModal(), AlertFirstButtonReturn);
    EXPECT_FALSE(a.window().isVisible());

    Alert plain;  // no buttons: one OK
    driver.press("OK");
    EXPECT_EQ(plain.runModal(), AlertFirstButtonReturn);
}

TEST_F(Scripted, SheetsComeDownInTurnAndOutliveTheirAlerts) {
    Window w;
    std::vector<std::string> order;
    for (const char* msg : {"first", "second"}) {
        Alert a;  // dies at the end of the loop body, its sheet lives on
        a.setMessageText(msg);
        a.beginSheetModalForWindow(w, [&order, msg](long code) { order.push_back(std::string(msg) + ":" + std::to_string(code)); });
    }
    ASSERT_NE(w.attachedSheet(), nullptr);
    EXPECT_TRUE(w.attachedSheet()->isVisible());
    // The driver works on the front-most sheet.
    EXPECT_TRUE(driver.press("OK").step(Application::shared(), w.frontmost()));
    ASSERT_EQ(order.size(), 1u);
    EXPECT_TRUE(driver.press("OK").step(Application::shared(), w.frontmost()));
    EXPECT_EQ(order, (std::vector<std::string>{"first:1000", "second:1000"}));
    EXPECT_EQ(w.attachedSheet(), nullptr);
}

TEST_F(Scripted, ASheetOnTheModalWindowIsWhatTheUserWorksOn) {
    Application& app = Application::shared();
    Window w;
    long sheetCode = 0;
    addButton(w, "Ask", [&](Control&) {
        auto a = std::make_shared<Alert>();
        a->addButtonWithTitle("Yes");
        a->addButtonWithTitle("No");
        a->beginSheetModalForWindow(w, [&](long c) { sheetCode = c; });
    });
    addButton(w, "Done", [&](Control&) { app.stopModal(); });
    driver.press("Ask").press("No").press("Done");
    EXPECT_EQ(app.runModalForWindow(w), ModalResponseStop);
    EXPECT_EQ(sheetCode, AlertSecondButtonReturn);
}

TEST_F(Scripted, TypingAndTheReturnKeyInAModalDialog) {
    Application& app = Application::shared();
    Window w;
    auto field = std::make_shared<TextField>(Rect(0, 40, 200, 24));
    field->setTag(3);
    w.contentView().addSubview(field);
    std::string sent;
    field->setAction({"textAction:", [&](Control& c) {
                          sent = c.stringValue();
                          app.stopModalWithCode(ModalResponseOK);
                      }});
    driver.type("Job 1", 3).pressKey("\r");
    EXPECT_EQ(app.runModalForWindow(w), ModalResponseOK);
    EXPECT_EQ(sent, "Job 1");
    EXPECT_EQ(w.firstResponder(), nullptr);
}

TEST_F(Scripted, SavePanelsTakeTheDriversPathAndAddTheExtension) {
    SavePanel save;
    save.setAllowedFileTypes({"plist"});
    driver.pickFiles({"/tmp/fav"}).pickFiles({"/tmp/a.plist"}).cancelPanel();
    EXPECT_EQ(save.runModal(), ModalResponseOK);
    EXPECT_EQ(save.path(), "/tmp/fav.plist");
    EXPECT_EQ(save.runModal(), ModalResponseOK);
    EXPECT_EQ(save.path(), "/tmp/a.plist");
    EXPECT_EQ(save.runModal(), ModalResponseCancel);
    EXPECT_EQ(save.path(), "");

    OpenPanel open;
    driver.pickFiles({"/a", "/b"});
    EXPECT_EQ(open.runModal(), ModalResponseOK);
    EXPECT_EQ(open.paths(), std::vector<std::string>{"/a"});  // one unless multiple are allowed
}

TEST(Window, FramesAreSavedAndRestoredByName) {
    Window::removeFrameUsingName("Detail");
    Window a(Rect(10, 20, 300, 200));
    a.setFrameAutosaveName("Detail");
    a.setFrame(Rect(50, 60, 400, 300));
    Window b;
    b.setFrameAutosaveName("Detail");
    EXPECT_EQ(b.frame(), Rect(50, 60, 400, 300));
}
