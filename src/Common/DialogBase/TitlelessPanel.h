#pragma once

#include "platform/kit/Panel.h"

namespace ComTORVALEKZ2R4_Plugin {

// A borderless panel with a shadow (whatever a description asks for) that
// floats over the host's windows: on the modal-panel level while the
// application is active, the floating level otherwise, updated whenever it
// is redrawn, which it is on each change of activation.
class KZ_EXPORT TitlelessPanel : public kz::Panel {
public:
    explicit TitlelessPanel(kz::Rect contentRect = kz::Rect(0, 0, 400, 300));
    ~TitlelessPanel() override;
    std::string className() const override { return "TitlelessPanel"; }

    void setStyleMask(unsigned) override {}
    void setHasShadow(bool) override {}
    bool canBecomeKeyWindow() const override { return true; }
    bool canBecomeMainWindow() const override { return true; }
    void display() override;
};

}  // namespace ComTORVALEKZ2R4_Plugin
