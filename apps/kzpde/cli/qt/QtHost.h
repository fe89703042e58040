// What the tool's window commands share: the Qt application, the bridge
// with the bundle's images, the Qt driver, screenshots and a script.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"

class QApplication;
namespace CLI {
class App;
}
class QWidget;

namespace kz::qt {
class QtScreenshots;
class QtScriptPlayer;
class QtUiDriver;
}  // namespace kz::qt

namespace kzpde {

struct QtHostOptions {
    std::string screenshots;  // folder, empty: none
    std::string script;       // file, empty: none
};

class QtHost {
public:
    // Declares --screenshot DIR and --script FILE into options.
    static void declareOptions(CLI::App& app, QtHostOptions& options);

    QtHost(QtHostOptions options, std::shared_ptr<kz::Bundle> bundle);
    ~QtHost();
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    // Starts Qt; false with the reason on `err` (no display, a bad script).
    bool start(const std::string& command, std::ostream& err);
    // Photographs a host window as it is shown (the kit's windows are
    // photographed by the bridge).
    void shown(QWidget& window, const std::string& name);
    // Runs the event loop: with a script, plays it and calls `ended` with
    // whether every step ran; with screenshots only, calls `ended(true)`
    // once the shown windows are photographed; otherwise until `quit`.
    int run(std::function<void(bool ok)> ended);
    void quit(int status);
    // Ends the modal sessions that wait for the user (each aborts), so that
    // the host can close its windows.
    void endModalSessions();
    const std::vector<std::string>& problems() const;
    const std::vector<std::string>& screenshots() const;

private:
    QtHostOptions _options;
    std::shared_ptr<kz::Bundle> _bundle;
    std::unique_ptr<QApplication> _app;
    std::unique_ptr<kz::qt::QtUiDriver> _driver;
    std::unique_ptr<kz::qt::QtScreenshots> _shots;
    std::unique_ptr<kz::qt::QtScriptPlayer> _player;
};

// True when the first preferred language is Japanese.
bool prefersJapanese();

}  // namespace kzpde
