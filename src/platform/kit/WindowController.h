#pragma once

#include <memory>
#include <string>

#include "platform/kit/ViewOwner.h"
#include "platform/kit/Window.h"

namespace kz {

// Owns a window loaded from a view description, loaded when first asked for.
// Subclasses take outlets and actions as the description's owner.
class KZ_EXPORT WindowController : public ViewOwner {
public:
    // The path of the description file; empty for a window set in code.
    explicit WindowController(std::string descriptionPath = {}) : _path(std::move(descriptionPath)) {}
    ~WindowController() override;

    // Loads the window on first use; null when it cannot be loaded.
    Window* window();
    std::shared_ptr<Window> sharedWindow();
    void setWindow(std::shared_ptr<Window> window) { _window = std::move(window); }
    bool isWindowLoaded() const { return _window != nullptr; }
    const std::string& descriptionPath() const { return _path; }
    // Why the last load failed.
    const std::string& loadError() const { return _loadError; }

    void showWindow();
    void close();

    bool connectWindowOutlet(const std::shared_ptr<Window>& window) override;

protected:
    // Makes the delegate (usually the subclass itself) the window's delegate;
    // it is taken off the window again when the controller dies.
    void installWindowDelegate(WindowDelegate* delegate);
    // Loads the description with this controller as owner.
    virtual void loadWindow();
    virtual void windowDidLoad() {}

private:
    std::string _path;
    std::string _loadError;
    std::shared_ptr<Window> _window;
    WindowDelegate* _installedDelegate = nullptr;
};

}  // namespace kz
