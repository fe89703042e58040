// The print dialog with the plug-in's panel in Qt: the widgets read as the
// kit trees of the panel and of the detailed settings window, Qt input
// reaches the panel's rules, a printer change brings a new panel.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <set>

#include "host/DialogSession.h"
#include "host/OptionControls.h"
#include "platform/kit/Application.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtDump.h"
#include "platform/qt/QtScreenshots.h"
#include "platform/qt/QtUiDriver.h"

using namespace kz;
using kz::qt::QtBridge;
using kzpde::OptionControls;

namespace {

const std::string kProductPpd = std::string(KZ_BUNDLE_DIR) + "/Contents/Resources/KZPrintServer.ppd";

// The dialog on the embedded printer (and a PPD file as a second printer),
// shown through the bridge with the Qt driver answering for the user.
struct DialogWindow {
    qt::QtUiDriver driver;
    kzpde::DialogSession session;
    QWidget* top = nullptr;
    std::string error;

    explicit DialogWindow(bool withPpd = false) {
        Application::shared().setDriver(&driver);
        kzpde::DialogRequest request;
        request.bundlePath = KZ_BUNDLE_DIR;
        request.listCupsDestinations = false;
        if (withPpd) request.ppd = kProductPpd;
        if (session.open(request, &error)) top = QtBridge::shared().show(session.window());
    }
    ~DialogWindow() {
        QtBridge::shared().forget(session.window());
        Application::shared().setDriver(nullptr);
    }
    View& panelView() const { return *session.panel()->panelView(); }
    OptionControls::QuillUI& control(const std::string& keyword) const {
        OptionControls::QuillUI* c = OptionControls::find({&panelView()}, keyword);
        EXPECT_TRUE(c) << keyword;
        return *c;
    }
    QComboBox* combo(PopUpButton& popup) const {
        return qobject_cast<QComboBox*>(QtBridge::shared().find(session.window())->widgetFor(popup));
    }
    // What a click on the item of the open menu does.
    void choose(QComboBox* c, int index) const {
        ASSERT_TRUE(c);
        ASSERT_GE(index, 0);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void choose(const std::string& keyword, const std::string& value) const {
        OptionControls::QuillUI& c = control(keyword);
        std::string title;
        for (const auto& choice : OptionControls::choices(c).value_or(std::vector<OptionControls::Choice>{}))
            if (choice.value == value) title = choice.title;
        ASSERT_FALSE(title.empty()) << keyword << "=" << value;
        QComboBox* box = combo(*c.popupButton());
        ASSERT_TRUE(box) << keyword;
        choose(box, box->findText(QString::fromStdString(title)));
    }
};

std::string kitTree(const Window& w) { return ViewDump::dump(w.contentView(), 1); }

std::string qtTree(QWidget& top) {
    std::string all = qt::QtDump::dumpWindow(top);
    return all.substr(all.find('\n') + 1);
}

std::string qtTree(const Window& w) { return qtTree(*QtBridge::shared().find(w)->topLevel()); }

int colours(const QImage& image) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) seen.insert(image.pixel(x, y));
    return static_cast<int>(seen.size());
}

QAbstractButton* buttonTitled(QWidget* root, const QString& title) {
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->text().remove('&') == title) return b;
    return nullptr;
}

}  // namespace

TEST(QtDialog, ThePanelReadsAsTheKitTreeAfterBuildChangesAndAnotherPrinter) {
    DialogWindow w(true);
    ASSERT_TRUE(w.top) << w.error;
    EXPECT_EQ(qtTree(w.session.window()), kitTree(w.session.window()));
    // The panel is there, with its own controls and the host's.
    EXPECT_NE(kitTree(w.session.window()).find("Show Detailed Settings"), std::string::npos);
    EXPECT_EQ(w.session.printerMenu().titleOfSelectedItem(), "KZPrintServer (PPD)");

    w.choose("StapleMode", "TopLeftCorner");
    EXPECT_EQ(w.control("StapleMode").getStringValue(), "TopLeftCorner");
    EXPECT_EQ(w.session.host().ppd()->markedChoices().size() > 0, true);
    EXPECT_EQ(qtTree(w.session.window()), kitTree(w.session.window()));

    // Another printer in the menu: a new panel for its PPD, the choice kept.
    kzpde::HostPpd* before = w.session.host().ppd();
    std::weak_ptr<View> viewBefore = w.session.panel()->panelView();
    w.choose(w.combo(w.session.printerMenu()), 1);
    EXPECT_EQ(w.session.printerIndex(), 1);
    EXPECT_NE(w.session.host().ppd(), before);
    EXPECT_TRUE(viewBefore.expired());  // the old panel and its view are gone
    EXPECT_EQ(w.control("StapleMode").getStringValue(), "TopLeftCorner");
    QtBridge::shared().sweep();
    EXPECT_EQ(qtTree(w.session.window()), kitTree(w.session.window()));
}

TEST(QtDialog, TheDetailedSettingsWindowReadsAsItsKitTreeWhileItRuns) {
    DialogWindow w;
    ASSERT_TRUE(w.top) << w.error;
    std::string built, kitBuilt, changed, kitChanged, title;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_TRUE(modal);
        title = modal->windowTitle().toStdString();
        qt::QtWindowMirror* mirror = QtBridge::shared().findTopLevel(modal);
        ASSERT_TRUE(mirror);
        built = qtTree(*modal);
        kitBuilt = kitTree(mirror->window());
        // Another tab, chosen in Qt.
        for (QTabBar* bar : modal->findChildren<QTabBar*>())
            if (bar->isVisible() && bar->count() > 1) bar->setCurrentIndex(1);
        QtBridge::shared().sweep();
        changed = qtTree(*modal);
        kitChanged = kitTree(mirror->window());
        QAbstractButton* cancel = buttonTitled(modal, "Cancel");
        ASSERT_TRUE(cancel);
        cancel->click();
    });
    QAbstractButton* show = buttonTitled(w.top, "Show Detailed Settings");
    ASSERT_TRUE(show);
    show->click();
    EXPECT_EQ(title, "Detailed Settings");
    EXPECT_FALSE(built.empty());
    EXPECT_EQ(built, kitBuilt);
    EXPECT_NE(changed, built);
    EXPECT_EQ(changed, kitChanged);
    EXPECT_EQ(Application::shared().modalDepth(), 0);
    EXPECT_EQ(w.session.outcome(), kzpde::DialogSession::Outcome::Open);
}

TEST(QtDialog, AConflictingPanelChoiceIsAskedInAQtMessageBoxAndTheAnswerDecides) {
    for (int answer : {1, 0}) {  // No, then Yes
        SCOPED_TRACE(answer == 0 ? "yes" : "no");
        DialogWindow w;
        ASSERT_TRUE(w.top) << w.error;
        w.choose("StapleMode", "TopLeftCorner");
        std::string text;
        int shown = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            ++shown;
            text = box->text().toStdString();
            box->buttons().at(answer)->click();
        });
        w.choose("OutputTray", "Stackertray");
        EXPECT_EQ(shown, 1);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(w.control("OutputTray").getStringValue(), answer == 0 ? "Stackertray" : "Auto");
        EXPECT_EQ(w.control("StapleMode").getStringValue(), answer == 0 ? "None" : "TopLeftCorner");
        // Qt shows what the kit decided.
        EXPECT_EQ(qtTree(w.session.window()), kitTree(w.session.window()));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(QtDialog, AScreenshotOfThePanelIsWrittenAndNotBlank) {
    DialogWindow w;
    ASSERT_TRUE(w.top) << w.error;
    const std::string folder = std::filesystem::temp_directory_path() / ("kzqt-dialog-" + std::to_string(getpid()));
    qt::QtScreenshots shots(folder);
    const std::string path = shots.write(*w.top, "Print");
    ASSERT_FALSE(path.empty());
    QImage picture(QString::fromStdString(path));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), static_cast<int>(w.session.window().frame().size.width));
    // The panel's part of it: its pop-ups, texts and buttons.
    QWidget* panel = QtBridge::shared().find(w.session.window())->widgetFor(w.panelView());
    ASSERT_TRUE(panel);
    const QRect area = panel->geometry();
    EXPECT_GT(area.height(), 200);
    EXPECT_GT(colours(picture.copy(area)), 8);
    std::filesystem::remove_all(folder);
}
