#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of paper sizes, paper types and stock: every control comes from
// the bundle's descriptions. Restoring values asks it to write the
// automatic tray choice; the tray choice is made in the panel's own tray
// windows, so the pane only has to make sure its controls are in place.
class PagePane : public QuillPane, public PaneAutomaticPaperTraySelection {
public:
    void writeAutomaticPapaerTraySelection() override { panelView(); }
};

}  // namespace ComTORVALEKZ2R4_Plugin
