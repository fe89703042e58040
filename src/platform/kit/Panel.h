#pragma once

#include "platform/kit/Window.h"

namespace kz {

// A secondary window: dialogs, floating palettes, the borderless panel with
// a shadow.
class KZ_EXPORT Panel : public Window {
public:
    using Window::Window;
    std::string className() const override { return "Panel"; }
    bool canBecomeMainWindow() const override { return false; }

    bool isFloatingPanel() const { return _floating; }
    // A floating panel sits on the floating level.
    void setFloatingPanel(bool on) {
        _floating = on;
        setLevel(on ? WindowLevel::Floating : WindowLevel::Normal);
    }
    bool worksWhenModal() const { return _worksWhenModal; }
    void setWorksWhenModal(bool on) { _worksWhenModal = on; }
    bool becomesKeyOnlyIfNeeded() const { return _keyOnlyIfNeeded; }
    void setBecomesKeyOnlyIfNeeded(bool on) { _keyOnlyIfNeeded = on; }

private:
    bool _floating = false;
    bool _worksWhenModal = false;
    bool _keyOnlyIfNeeded = false;
};

}  // namespace kz
