#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of stapling, punching, folding and creasing: every control comes from the bundle's descriptions.
class FinishingPane : public QuillPane {};

}  // namespace ComTORVALEKZ2R4_Plugin
