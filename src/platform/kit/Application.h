#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/kit/Event.h"

namespace kz {

class Bundle;
class UiDriver;
class Window;

// The codes a modal session ends with (alerts answer 1000, 1001, ...).
enum ModalResponse : long {
    ModalResponseCancel = 0,
    ModalResponseOK = 1,
    ModalResponseStop = -1000,
    ModalResponseAbort = -1001,
    ModalResponseContinue = -1002,
    AlertFirstButtonReturn = 1000,
    AlertSecondButtonReturn = 1001,
    AlertThirdButtonReturn = 1002,
};

// The process's one application object: modal sessions, beep, activation.
class KZ_EXPORT Application {
public:
    static Application& shared();

    // Runs the window modally: the driver acts on it (or on its sheet) until
    // something stops the session; answers the code given to stop it.
    // Sessions nest: stopping ends the innermost.
    long runModalForWindow(Window& window);
    void stopModal() { stopModalWithCode(ModalResponseStop); }
    void stopModalWithCode(long code);
    void abortModal() { stopModalWithCode(ModalResponseAbort); }
    // The window of the innermost session, or null.
    Window* modalWindow() const;
    int modalDepth() const { return static_cast<int>(_sessions.size()); }

    // Not owned; null answers every modal session with an abort.
    UiDriver* driver() const { return _driver; }
    void setDriver(UiDriver* driver) { _driver = driver; }

    // The alert sound; counted so that tests and the tool can see it.
    void beep();
    int beepCount() const { return _beeps; }

    // The event being handled, while a driver plays one; nothing otherwise.
    const Event* currentEvent() const { return _currentEvent ? &*_currentEvent : nullptr; }
    // Sets the current event for as long as it lives.
    class KZ_EXPORT EventScope {
    public:
        explicit EventScope(Event event);
        ~EventScope();
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;

    private:
        std::optional<Event> _saved;
    };

    // The host application's own bundle (its information keys and texts);
    // null until the host sets it.
    const std::shared_ptr<Bundle>& mainBundle() const { return _mainBundle; }
    void setMainBundle(std::shared_ptr<Bundle> bundle) { _mainBundle = std::move(bundle); }

    // Posted on the default centre, sender the application, when the
    // application becomes active or resigns being active.
    static constexpr const char* kDidBecomeActiveNotification = "ApplicationDidBecomeActiveNotification";
    static constexpr const char* kDidResignActiveNotification = "ApplicationDidResignActiveNotification";
    bool isActive() const { return _active; }
    void activateIgnoringOtherApps();
    void deactivate();

private:
    Application() = default;
    struct Session {
        Window* window;
        bool stopped = false;
        long code = ModalResponseContinue;
    };
    std::vector<std::unique_ptr<Session>> _sessions;
    UiDriver* _driver = nullptr;
    int _beeps = 0;
    bool _active = true;
    std::shared_ptr<Bundle> _mainBundle;
    std::optional<Event> _currentEvent;
};

}  // namespace kz
