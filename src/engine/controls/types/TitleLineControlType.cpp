#include "engine/controls/types/TitleLineControlType.h"

namespace ComTORVALEKZ2R4_Plugin {

// Everything else is the base's: a type without a widget.
TitleLineControlType::TitleLineControlType() : QuillControlType(QuillUI::Kind::TitleLine) {}

}  // namespace ComTORVALEKZ2R4_Plugin
