#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of the saved file type, the job folder and record division: every control comes from the bundle's descriptions.
class SpoolOptionsPane : public QuillPane {};

}  // namespace ComTORVALEKZ2R4_Plugin
