#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of colour mode and colour management: every control comes from the bundle's descriptions.
class ColorPane : public QuillPane {};

}  // namespace ComTORVALEKZ2R4_Plugin
