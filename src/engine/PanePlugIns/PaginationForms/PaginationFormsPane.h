#pragma once

#include "engine/panes/QuillPane.h"

namespace ComTORVALEKZ2R4_Plugin {

// The pane of pagination, forms, watermarks and memos: every control comes from the bundle's descriptions.
class PaginationFormsPane : public QuillPane {};

}  // namespace ComTORVALEKZ2R4_Plugin
