#include "platform/kit/WindowController.h"

#include "platform/foundation/Log.h"
#include "platform/kit/ViewLoader.h"

namespace kz {

WindowController::~WindowController() {
    // The window may outlive its controller; it must not call a dead delegate.
    if (_window && _installedDelegate && _window->delegate() == _installedDelegate) _window->setDelegate(nullptr);
}

void WindowController::installWindowDelegate(WindowDelegate* delegate) {
    _installedDelegate = delegate;
    if (_window) _window->setDelegate(delegate);
}

Window* WindowController::window() { return sharedWindow().get(); }

std::shared_ptr<Window> WindowController::sharedWindow() {
    if (!_window && !_path.empty()) {
        loadWindow();
        if (_window) windowDidLoad();
    }
    return _window;
}

void WindowController::loadWindow() {
    std::string error;
    auto result = ViewLoader::loadFile(_path, this, &error);
    if (!result || !result->window) {
        _loadError = result ? _path + ": no window in the description" : error;
        Log::line("### ## Couldn't load window: " + _loadError);
        return;
    }
    _window = result->window;
}

bool WindowController::connectWindowOutlet(const std::shared_ptr<Window>& window) {
    _window = window;
    return true;
}

void WindowController::showWindow() {
    if (Window* w = window()) w->makeKeyAndOrderFront();
}

void WindowController::close() {
    if (_window) _window->close();
}

}  // namespace kz
