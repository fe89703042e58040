#pragma once

#include "Common/DialogBase/TitlelessPanel.h"

namespace ComTORVALEKZ2R4_Plugin {

// The version panel: any click or key press in it ends its modal session
// with -1000.
class KZ_EXPORT Quill_AboutPanel : public TitlelessPanel {
public:
    using TitlelessPanel::TitlelessPanel;
    std::string className() const override { return "Quill_AboutPanel"; }
    bool sendEvent(const kz::Event& event) override;

    // Makes "Quill_AboutPanel" known to the view loader (once).
    static void registerWindowClass();
};

}  // namespace ComTORVALEKZ2R4_Plugin
