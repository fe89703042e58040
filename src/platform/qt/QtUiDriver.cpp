#include "platform/qt/QtUiDriver.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QPointer>
#include <QWidget>

#include "platform/kit/Application.h"
#include "platform/kit/SavePanel.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtSupport.h"

namespace kz::qt {

struct QtUiDriver::Loop {
    QEventLoop loop;
    bool acted = false;
};

QtUiDriver::QtUiDriver() {
    QtBridge::shared().setActionHandler([this] { actionDone(); });
}

QtUiDriver::~QtUiDriver() {
    QtBridge::shared().setActionHandler(nullptr);
    for (Loop* l : _loops) l->loop.quit();
}

void QtUiDriver::actionDone() {
    // The user's action ends the innermost wait; a session it opened
    // itself has run its own loop to its end by then.
    if (_loops.empty()) return;
    _loops.back()->acted = true;
    _loops.back()->loop.quit();
}

void QtUiDriver::endAll() {
    _ending = true;
    for (Loop* l : _loops) l->loop.quit();
}

bool QtUiDriver::step(Application&, Window& window) {
    if (_ending || !QCoreApplication::instance() || QCoreApplication::closingDown()) return false;
    QtBridge& bridge = QtBridge::shared();
    QtWindowMirror& mirror = bridge.mirror(window);
    bridge.setModal(window, true);
    bridge.sweep();
    QPointer<QWidget> top = mirror.topLevel();
    if (!top) return false;
    if (!top->isVisible()) top->show();
    top->raise();
    top->activateWindow();
    Loop loop;
    _loops.push_back(&loop);
    // A window that goes away without the kit hearing of it ends the wait.
    QObject::connect(top, &QObject::destroyed, &loop.loop, [&loop] { loop.loop.quit(); });
    loop.loop.exec();
    _loops.pop_back();
    // The sweep shows what the kit decided (an alert's panel goes away).
    bridge.sweep();
    return loop.acted;
}

std::optional<std::vector<std::string>> QtUiDriver::chooseFiles(SavePanel& panel) {
    if (_ending || !QCoreApplication::instance()) return std::nullopt;
    QtBridge& bridge = QtBridge::shared();
    QFileDialog dialog(bridge.frontWindow(), toQString(panel.title().empty() ? panel.message() : panel.title()));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!panel.message().empty()) dialog.setLabelText(QFileDialog::LookIn, toQString(panel.message()));
    if (!panel.prompt().empty()) dialog.setLabelText(QFileDialog::Accept, toQString(panel.prompt()));
    if (!panel.directory().empty()) dialog.setDirectory(toQString(panel.directory()));
    QStringList filters;
    for (const auto& t : panel.allowedFileTypes()) filters << "*." + toQString(t);
    if (!filters.isEmpty()) dialog.setNameFilter(filters.join(' '));
    if (auto* open = dynamic_cast<OpenPanel*>(&panel)) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (open->canChooseDirectories() && !open->canChooseFiles()) dialog.setFileMode(QFileDialog::Directory);
        else dialog.setFileMode(open->allowsMultipleSelection() ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!panel.nameFieldStringValue().empty()) dialog.selectFile(toQString(panel.nameFieldStringValue()));
        if (!panel.canCreateDirectories()) dialog.setOption(QFileDialog::ReadOnly, true);
    }
    dialog.setWindowModality(Qt::ApplicationModal);
    // Qt's default size elides the file list's type and date columns.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 460)));
    dialog.show();
    bridge.windowShown(dialog, panel.isOpenPanel() ? "Open" : "Save");
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& f : dialog.selectedFiles()) paths.push_back(fromQString(f));
    return paths;
}

void QtUiDriver::beep() { QApplication::beep(); }

}  // namespace kz::qt
