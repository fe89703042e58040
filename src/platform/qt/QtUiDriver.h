#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/kit/UiDriver.h"

namespace kz::qt {

// What the user does, from real Qt windows: a modal session (an alert, a
// dialog run modally, a sheet) shows the window's mirror and turns a nested
// Qt event loop until the user has done one thing in it; the kit's session
// then decides whether to go on. Open and save panels are Qt file dialogs.
// Install it with Application::setDriver while a QApplication lives.
class QtUiDriver : public UiDriver {
public:
    QtUiDriver();
    ~QtUiDriver() override;
    QtUiDriver(const QtUiDriver&) = delete;
    QtUiDriver& operator=(const QtUiDriver&) = delete;

    bool step(Application& app, Window& window) override;
    std::optional<std::vector<std::string>> chooseFiles(SavePanel& panel) override;
    void beep() override;

    // How deep the driver's loops are nested now.
    int depth() const { return static_cast<int>(_loops.size()); }
    // The host is closing: every wait ends now and every later step answers
    // that the user did nothing, so each modal session aborts.
    void endAll();

private:
    struct Loop;
    void actionDone();
    std::vector<Loop*> _loops;
    bool _ending = false;
};

}  // namespace kz::qt
