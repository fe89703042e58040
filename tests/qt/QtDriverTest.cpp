// The Qt driver: the rule engine's questions as Qt message boxes answered in
// Qt, typing through a formatter as headless, screenshots, scripts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <set>

#include "Common/TextInput/MaxLengthFormatter.h"
#include "engine/rules/QuillMgr.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/Application.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtScreenshots.h"
#include "platform/qt/QtScriptPlayer.h"
#include "platform/qt/QtUiDriver.h"
#include "../support/ToolRun.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using namespace kz;
using kz::qt::QtBridge;

namespace {

struct Ready : kzp::NetworkDataState {
    bool isInitializedNetworkData() const override { return true; }
};

// The sample rules' option controls in a window, mirrored, with the Qt driver.
struct RulesWindow {
    kzp::QuillMgr mgr;
    Ready ready;
    qt::QtUiDriver driver;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect(0, 0, 420, 400));
    QWidget* top = nullptr;

    RulesWindow() {
        Application::shared().setDriver(&driver);
        mgr.setNetworkDataState(&ready);
        Value rules = PropertyList::readFile(KZ_SOURCE_DIR "/resources/samples/option-rules.plist");
        double y = 400;
        for (const auto& [name, entry] : rules.dictionary()) {
            if (!entry.isDictionary()) continue;
            y -= 40;
            auto c = std::make_shared<kzp::QuillUI>(Rect(10, y, 400, 36));
            c->setControlDictionary(entry.dictionary(), nullptr);
            c->updateControl();
            mgr.addControl(c);
            window->contentView().addSubview(c);
        }
        mgr.setDefaults();
        top = QtBridge::shared().show(*window);
    }
    ~RulesWindow() {
        QtBridge::shared().forget(*window);
        Application::shared().setDriver(nullptr);
    }
    QComboBox* combo(const QString& item) {
        for (QComboBox* c : top->findChildren<QComboBox*>())
            if (c->findText(item) >= 0) return c;
        return nullptr;
    }
    void choose(const QString& item) {
        QComboBox* c = combo(item);
        ASSERT_TRUE(c) << item.toStdString();
        c->setCurrentIndex(c->findText(item));
        emit c->activated(c->findText(item));
    }
};

// Answers the next message box with the button of that number, keeping its text.
void answerNextMessageBox(int button, std::string* text, int* shown) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        ++*shown;
        *text = box->text().toStdString();
        box->buttons().at(button)->click();
    });
}

}  // namespace

TEST(QtDriver, AConflictingChoiceInAQtPopUpAsksInAQtMessageBox) {
    RulesWindow w;
    w.choose("Thick Paper");
    ASSERT_EQ(w.mgr.getStringValue("MediaType"), "Thick");

    // No: the two-sided choice is undone, in the kit and in Qt.
    std::string text;
    int shown = 0;
    answerNextMessageBox(1, &text, &shown);
    w.choose("Long Edge");
    EXPECT_EQ(shown, 1);
    EXPECT_NE(text.find("Two-Sided"), std::string::npos) << text;
    EXPECT_NE(text.find('\n'), std::string::npos);  // the engine's line breaks, shown as lines
    EXPECT_EQ(w.mgr.getStringValue("Duplex"), "None");
    EXPECT_EQ(w.combo("Long Edge")->currentText().toStdString(), "Off");
    EXPECT_EQ(w.mgr.getStringValue("MediaType"), "Thick");

    // Yes: the restore list is applied and shown.
    answerNextMessageBox(0, &text, &shown);
    w.choose("Long Edge");
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(w.mgr.getStringValue("Duplex"), "DuplexNoTumble");
    EXPECT_EQ(w.mgr.getStringValue("MediaType"), "Plain");
    EXPECT_EQ(w.combo("Thick Paper")->currentText().toStdString(), "Plain Paper");
    EXPECT_EQ(w.combo("Long Edge")->currentText().toStdString(), "Long Edge");
    EXPECT_EQ(Application::shared().modalDepth(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtDriver, TypingIntoALimitedFieldIsFilteredAsHeadless) {
    // The same field twice: typed by a script headless, and by Qt key events.
    auto typeHeadless = [](const std::string& text, int* beeps) {
        Window window(Rect(0, 0, 300, 100));
        auto field = std::make_shared<TextField>(Rect(10, 10, 200, 22));
        window.contentView().addSubview(field);
        kzp::MaxLengthFormatter::setMaxLengthFormatter(*field, 5);
        ScriptedUiDriver driver;
        const int before = Application::shared().beepCount();
        driver.type(text, 0);
        driver.step(Application::shared(), window);
        *beeps = Application::shared().beepCount() - before;
        return field->currentEditor()->string();
    };
    int headlessBeeps = 0;
    const std::string headless = typeHeadless("ab\xc3\xa9" "cdefg", &headlessBeeps);

    qt::QtUiDriver driver;
    Application::shared().setDriver(&driver);
    auto window = std::make_shared<Window>(Rect(0, 0, 300, 100));
    auto field = std::make_shared<TextField>(Rect(10, 10, 200, 22));
    window->contentView().addSubview(field);
    kzp::MaxLengthFormatter::setMaxLengthFormatter(*field, 5);
    QtBridge::shared().show(*window);
    auto* edit = qobject_cast<QLineEdit*>(QtBridge::shared().find(*window)->widgetFor(*field));
    ASSERT_TRUE(edit);
    const int before = Application::shared().beepCount();
    for (const QString& key : QString::fromUtf8("ab\xc3\xa9" "cdefg").split(QString(), Qt::SkipEmptyParts)) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, key);
        QCoreApplication::sendEvent(edit, &press);
    }
    EXPECT_EQ(headless, "ab\xc3\xa9" "cd");
    EXPECT_EQ(edit->text().toStdString(), headless);
    EXPECT_EQ(field->currentEditor()->string(), headless);
    EXPECT_EQ(Application::shared().beepCount() - before, headlessBeeps);

    // Backspace and a paste over the limit go through the kit as well.
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &back);
    EXPECT_EQ(field->currentEditor()->string(), "ab\xc3\xa9" "c");
    QApplication::clipboard()->setText("xyz");
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(edit, &paste);
    EXPECT_EQ(field->currentEditor()->string(), "ab\xc3\xa9" "c");
    EXPECT_EQ(edit->text().toStdString(), "ab\xc3\xa9" "c");
    // Return ends the edit: the text is the field's value.
    QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(edit, &ret);
    EXPECT_EQ(field->currentEditor(), nullptr);
    EXPECT_EQ(field->stringValue(), "ab\xc3\xa9" "c");
    QtBridge::shared().forget(*window);
    Application::shared().setDriver(nullptr);
}

TEST(QtDriver, AScreenshotOfAWindowIsWrittenAndNotBlank) {
    RulesWindow w;
    const std::string folder = std::filesystem::temp_directory_path() / ("kzqt-shots-" + std::to_string(getpid()));
    qt::QtScreenshots shots(folder);
    const std::string path = shots.write(*w.top, "Rules");
    ASSERT_FALSE(path.empty());
    QImage picture(QString::fromStdString(path));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(420, 400));
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2) colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 8u);  // texts and frames, not one flat colour
    std::filesystem::remove_all(folder);
}

TEST(QtDriver, AScriptPlaysAgainstTheWidgetsAndAnswersTheQuestion) {
    std::string error;
    EXPECT_FALSE(qt::QtScriptPlayer::parse("press \"OK", &error));
    EXPECT_EQ(error, "line 1: unterminated quote");
    EXPECT_FALSE(qt::QtScriptPlayer::parse("# fine\njump 3\n", &error));
    EXPECT_EQ(error, "line 2: unknown step 'jump'");
    auto steps = qt::QtScriptPlayer::parse("choose \"Thick Paper\"\nchoose \"Long Edge\"\npress Yes\n", &error);
    ASSERT_TRUE(steps) << error;
    ASSERT_EQ(steps->size(), 3u);

    RulesWindow w;
    qt::QtScriptPlayer player(*steps);
    bool finished = false, ok = false;
    player.start([&](bool result) {
        finished = true;
        ok = result;
    });
    while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(ok) << (player.problems().empty() ? "" : player.problems()[0]);
    EXPECT_EQ(w.mgr.getStringValue("Duplex"), "DuplexNoTumble");
    EXPECT_EQ(w.mgr.getStringValue("MediaType"), "Plain");
}
