#include "Common/Util/TableViewUtil.h"

#include "platform/kit/BrowserCell.h"
#include "platform/kit/TableView.h"

namespace ComTORVALEKZ2R4_Plugin {

kz::BrowserCell* setBrowserCellToColumn(kz::TableView* view, std::string_view columnIdentifier) {
    kz::TableColumn* column = view ? view->tableColumnWithIdentifier(columnIdentifier) : nullptr;
    if (!column) return nullptr;
    auto cell = std::make_unique<kz::BrowserCell>();
    cell->setLeaf(true);
    cell->setWraps(true);
    // The column's font stays: row widths are measured with it.
    cell->setFont(column->dataCell().font());
    kz::BrowserCell* result = cell.get();
    column->setDataCell(std::move(cell));
    return result;
}

}  // namespace ComTORVALEKZ2R4_Plugin
