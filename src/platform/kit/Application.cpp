#include "platform/kit/Application.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kit/UiDriver.h"
#include "platform/kit/Window.h"

namespace kz {

Application& Application::shared() {
    static Application app;
    return app;
}

long Application::runModalForWindow(Window& window) {
    _sessions.push_back(std::make_unique<Session>(Session{&window}));
    Session& session = *_sessions.back();
    window.makeKeyAndOrderFront();
    while (!session.stopped) {
        // Work scheduled for modal panels runs before each user action.
        RunLoop::current().runMode(RunLoop::kModalPanelMode);
        if (session.stopped) break;
        if (!_driver || !_driver->step(*this, window.frontmost())) {
            if (!session.stopped) {
                Log::line("### ## modal session aborted: nothing more from the user");
                session.code = ModalResponseAbort;
            }
            break;
        }
    }
    long code = session.code;
    _sessions.pop_back();
    return code;
}

void Application::stopModalWithCode(long code) {
    if (_sessions.empty()) return;
    Session& s = *_sessions.back();
    if (s.stopped) return;
    s.stopped = true;
    s.code = code;
}

Window* Application::modalWindow() const { return _sessions.empty() ? nullptr : _sessions.back()->window; }

Application::EventScope::EventScope(Event event) : _saved(std::move(shared()._currentEvent)) {
    shared()._currentEvent = std::move(event);
}

Application::EventScope::~EventScope() { shared()._currentEvent = std::move(_saved); }

void Application::beep() {
    ++_beeps;
    if (_driver) _driver->beep();
}

void Application::activateIgnoringOtherApps() {
    if (_active) return;
    _active = true;
    NotificationCenter::defaultCenter().post(kDidBecomeActiveNotification, this);
}

void Application::deactivate() {
    if (!_active) return;
    _active = false;
    NotificationCenter::defaultCenter().post(kDidResignActiveNotification, this);
}

}  // namespace kz
