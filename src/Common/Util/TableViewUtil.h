#pragma once

#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {
class BrowserCell;
class TableView;
}  // namespace kz

namespace ComTORVALEKZ2R4_Plugin {

// Gives the column a browser cell (with an icon, a leaf, wrapping its text)
// and answers it; null when the view or the column is missing. Works for
// outline views too.
KZ_EXPORT kz::BrowserCell* setBrowserCellToColumn(kz::TableView* view, std::string_view columnIdentifier);

}  // namespace ComTORVALEKZ2R4_Plugin
