// Windows, sheets, panels and the shared measures of both sides.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "platform/kit/Alert.h"
#include "platform/kit/Application.h"
#include "platform/kit/SavePanel.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/QtUiDriver.h"

using namespace kz;
using kz::qt::QtBridge;
using kz::qt::QtGeometry;

TEST(QtGeometryAndFonts, FramesFlipInOnePlaceAndTextsMeasureAlike) {
    // Bottom-left origin in a container 100 high becomes top-left.
    EXPECT_EQ(QtGeometry::toQt(Rect(10, 20, 30, 40), 100), QRect(10, 40, 30, 40));
    EXPECT_EQ(QtGeometry::fromQt(QRect(10, 40, 30, 40), 100), Rect(10, 20, 30, 40));
    // Half points round to whole pixels, never to a negative size.
    EXPECT_EQ(QtGeometry::toQt(Rect(0.5, 0, 10.4, -3), 50), QRect(1, 50, 10, 0));

    // The face the kit measures with is the one Qt draws with, at the same size,
    // so a label the engine made wide enough is wide enough on screen.
    const Font font = Font::systemFontOfSize(13);
    const QFont q = kz::qt::toQFont(font);
    EXPECT_EQ(q.pixelSize(), 13);
    for (const char* text : {"Paper Type", "Two-Sided Printing", "Staple Position"}) {
        const double kit = font.widthOfString(text);
        const double drawn = QFontMetricsF(q).horizontalAdvance(QString::fromUtf8(text));
        EXPECT_NEAR(drawn, kit, 0.05 * kit + 1) << text;
    }
    EXPECT_TRUE(kz::qt::toQFont(Font::boldSystemFontOfSize(11)).bold());
}

TEST(QtWindows, ClosingAWindowAsksTheKitAndItsDelegate) {
    struct Refuse : WindowDelegate {
        bool refuse = true;
        int asked = 0;
        bool windowShouldClose(Window&) override {
            ++asked;
            return !refuse;
        }
    } delegate;
    auto window = std::make_shared<Window>(Rect(0, 0, 200, 100));
    window->setDelegate(&delegate);
    QWidget* top = QtBridge::shared().show(*window);
    top->close();
    EXPECT_EQ(delegate.asked, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(top->isVisible());
    delegate.refuse = false;
    top->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(top->isVisible());
    window->setDelegate(nullptr);
    QtBridge::shared().forget(*window);
}

TEST(QtWindows, AnAlertSheetIsAWindowModalMessageBoxThatEndsTheSheet) {
    auto window = std::make_shared<Window>(Rect(0, 0, 400, 300));
    QWidget* top = QtBridge::shared().show(*window);
    long code = 0;
    {
        Alert alert;  // the sheet outlives the alert
        alert.setMessageText("Delete the favorite?");
        alert.setInformativeText("It cannot be undone.");
        alert.addButtonWithTitle("Delete");
        alert.addButtonWithTitle("Cancel");
        alert.beginSheetModalForWindow(*window, [&](long c) { code = c; });
    }
    QtBridge::shared().sweep();
    auto* box = qobject_cast<QMessageBox*>(QtBridge::shared().find(*window->attachedSheet())->topLevel());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->parentWidget(), top);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text().toStdString(), "Delete the favorite?");
    EXPECT_EQ(box->informativeText().toStdString(), "It cannot be undone.");
    ASSERT_EQ(box->buttons().size(), 2);
    EXPECT_EQ(box->defaultButton()->text().toStdString(), "Delete");
    EXPECT_EQ(box->escapeButton()->text().toStdString(), "Cancel");
    static_cast<QPushButton*>(box->escapeButton())->click();
    EXPECT_EQ(code, AlertSecondButtonReturn);
    EXPECT_EQ(window->attachedSheet(), nullptr);
    QtBridge::shared().forget(*window);
}

TEST(QtWindows, AnAlertWithOnlyAnInformativeTextShowsItAsTheMessage) {
    auto window = std::make_shared<Window>(Rect(0, 0, 400, 300));
    QtBridge::shared().show(*window);
    {
        Alert alert;
        alert.setMessageText("");
        alert.setInformativeText("Enter a job name of 1 to 255 characters.");
        alert.beginSheetModalForWindow(*window, [](long) {});
    }
    QtBridge::shared().sweep();
    auto* box = qobject_cast<QMessageBox*>(QtBridge::shared().find(*window->attachedSheet())->topLevel());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text().toStdString(), "Enter a job name of 1 to 255 characters.");
    EXPECT_TRUE(box->informativeText().isEmpty());
    box->defaultButton()->click();
    EXPECT_EQ(window->attachedSheet(), nullptr);
    QtBridge::shared().forget(*window);
}

TEST(QtWindows, OpenAndSavePanelsAreQtFileDialogs) {
    qt::QtUiDriver driver;
    Application::shared().setDriver(&driver);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kzqt-panels-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    auto answer = [](bool accept, std::string name, QString* title) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            *title = dialog->windowTitle();
            // Large enough for the file list's type and date columns.
            EXPECT_GE(dialog->width(), 780);
            EXPECT_GE(dialog->height(), 460);
            if (!accept) return dialog->reject();
            dialog->selectFile(QString::fromStdString(name));
            static_cast<QDialog*>(dialog)->accept();
        });
    };
    QString title;
    SavePanel save;
    save.setTitle("Export Favorite");
    save.setDirectory(folder.string());
    save.setAllowedFileTypes({"pfj"});
    answer(true, (folder / "Duplex.pfj").string(), &title);
    EXPECT_EQ(save.runModal(), ModalResponseOK);
    EXPECT_EQ(save.path(), (folder / "Duplex.pfj").string());
    EXPECT_EQ(title.toStdString(), "Export Favorite");

    OpenPanel open;
    open.setDirectory(folder.string());
    answer(false, "", &title);
    EXPECT_EQ(open.runModal(), ModalResponseCancel);
    Application::shared().setDriver(nullptr);
    std::filesystem::remove_all(folder);
}
