#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of cover sheets; it serves the front and the back cover, one instance each, with a view per role: every control comes from the bundle's descriptions.
class MediaPane : public QuillPane {};

}  // namespace ComTORVALEKZ2R4_Plugin
