#pragma once

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Any "control_type" that names no widget (none, or a near miss of a name):
// the control shows its label and caption only, and so has no value to
// read, write or show and asks for no height.
class KZ_EXPORT TitleLineControlType final : public QuillControlType {
public:
    TitleLineControlType();
};

}  // namespace ComTORVALEKZ2R4_Plugin
