#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

class Application;
class SavePanel;
class Window;

// Where what the user does comes from: a test's script, the tool's options,
// or a native bridge showing real windows.
class KZ_EXPORT UiDriver {
public:
    virtual ~UiDriver() = default;
    // One user action in the window the user works on (a modal window or a
    // sheet on it). False when the user does nothing more: the modal session
    // is then aborted.
    virtual bool step(Application& app, Window& window) = 0;
    // The files picked in an open or save panel; nullopt cancels it.
    virtual std::optional<std::vector<std::string>> chooseFiles(SavePanel& /*panel*/) { return std::nullopt; }
    virtual void beep() {}
};

}  // namespace kz
