#include "cli/qt/QtHost.h"

#include <CLI/CLI.hpp>

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <ostream>

#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PreferredLanguages.h"
#include "platform/kit/Application.h"
#include "platform/kit/Image.h"
#include "platform/qt/QtBridge.h"
#include "platform/qt/QtScreenshots.h"
#include "platform/qt/QtScriptPlayer.h"
#include "platform/qt/QtUiDriver.h"

namespace kzpde {

namespace {
int gArgc = 1;
char gName[] = "kzpde";
char* gArgv[] = {gName, nullptr};
const std::vector<std::string> kNone;
constexpr std::size_t kMaxScript = 1 << 20;
}  // namespace

bool prefersJapanese() {
    const auto langs = kz::preferredLanguages();
    return !langs.empty() && langs.front().starts_with("ja");
}

void QtHost::declareOptions(CLI::App& app, QtHostOptions& options) {
    app.add_option("--screenshot", options.screenshots, "write a PNG of every window as it is shown")->type_name("DIR");
    app.add_option("--script", options.script, "play these user steps against the windows")->type_name("FILE");
}

QtHost::QtHost(QtHostOptions options, std::shared_ptr<kz::Bundle> bundle)
    : _options(std::move(options)), _bundle(std::move(bundle)) {}

QtHost::~QtHost() {
    kz::Application::shared().setDriver(nullptr);
    kz::qt::QtBridge::shared().setShownHandler(nullptr);
    kz::qt::QtBridge::shared().setImageResolver(nullptr);
    kz::qt::QtBridge::shared().forgetAll();
    _player.reset();
    _driver.reset();
}

bool QtHost::start(const std::string& command, std::ostream& err) {
    std::vector<kz::qt::QtScriptPlayer::Step> steps;
    if (!_options.script.empty()) {
        std::string error;
        std::string bytes;
        const kz::FileBytes::Status status = kz::FileBytes::read(_options.script, kMaxScript, &bytes);
        std::optional<std::vector<kz::qt::QtScriptPlayer::Step>> parsed;
        if (status == kz::FileBytes::Status::ok) parsed = kz::qt::QtScriptPlayer::parse(bytes, &error);
        else error = status == kz::FileBytes::Status::tooLarge ? "too large for a script" : "cannot be read";
        if (!parsed) {
            err << "kzpde " << command << ": " << _options.script << ": " << error << "\n";
            return false;
        }
        steps = std::move(*parsed);
    }
    // Without a display Qt would abort the process; say so instead.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        err << "kzpde " << command << ": no display (set DISPLAY, or QT_QPA_PLATFORM=offscreen)\n";
        return false;
    }
    _app = std::make_unique<QApplication>(gArgc, gArgv);
    // The commands end themselves; a mirror hidden between two steps must not.
    QApplication::setQuitOnLastWindowClosed(false);
    auto& bridge = kz::qt::QtBridge::shared();
    if (_bundle)
        bridge.setImageResolver([bundle = _bundle](const std::string& name) { return kz::Image::named(*bundle, name); });
    _driver = std::make_unique<kz::qt::QtUiDriver>();
    kz::Application::shared().setDriver(_driver.get());
    if (!_options.screenshots.empty()) {
        _shots = std::make_unique<kz::qt::QtScreenshots>(_options.screenshots);
        _shots->install(bridge);
    }
    if (!_options.script.empty()) _player = std::make_unique<kz::qt::QtScriptPlayer>(std::move(steps));
    if (_player && _shots)
        _player->setPhotographer([shots = _shots.get()](QWidget& w, const std::string& name) { shots->write(w, name); });
    return true;
}

void QtHost::shown(QWidget& window, const std::string& name) { kz::qt::QtBridge::shared().windowShown(window, name); }

int QtHost::run(std::function<void(bool)> ended) {
    if (_player) {
        _player->start([ended](bool ok) { ended(ok); });
    } else if (_shots) {
        // Long enough for the windows shown at the start to be photographed.
        QTimer::singleShot(300, [ended] { ended(true); });
    }
    return _app->exec();
}

void QtHost::quit(int status) { QCoreApplication::exit(status); }

void QtHost::endModalSessions() {
    if (_driver) _driver->endAll();
}

const std::vector<std::string>& QtHost::problems() const { return _player ? _player->problems() : kNone; }

const std::vector<std::string>& QtHost::screenshots() const { return _shots ? _shots->written() : kNone; }

}  // namespace kzpde
