#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of imposition and its keys: every control comes from the
// bundle's descriptions. It is told before it is shown and after every
// restore; its controls must be registered by then, so it loads its view.
class LayoutPane : public QuillPane, public PaneWillShow {
public:
    void willShow() override { panelView(); }
};

}  // namespace ComTORVALEKZ2R4_Plugin
