#pragma once

#include <string_view>

#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The control types by their "control_type" names, each name once. The names
// are exact: any other text, none included, is a title line.
class KZ_EXPORT QuillControlTypes {
public:
    static const QuillControlType& named(std::string_view controlType);
};

}  // namespace ComTORVALEKZ2R4_Plugin
