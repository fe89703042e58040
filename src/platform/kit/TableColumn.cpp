#include "platform/kit/TableColumn.h"

#include <algorithm>

#include "platform/kit/TableView.h"

namespace kz {

TableColumn::TableColumn(std::string identifier, double width)
    : _identifier(std::move(identifier)), _width(std::max(0.0, width)), _dataCell(std::make_unique<Cell>()) {}

void TableColumn::setWidth(double width) {
    width = std::clamp(width, 0.0, _maxWidth);
    if (width == _width) return;
    _width = width;
    changed();
}

void TableColumn::setMaxWidth(double maxWidth) {
    _maxWidth = std::max(0.0, maxWidth);
    if (_width > _maxWidth) _width = _maxWidth;
    changed();
}

void TableColumn::setDataCell(std::unique_ptr<Cell> cell) {
    if (!cell) return;
    _dataCell = std::move(cell);
    changed();
}

void TableColumn::changed() {
    if (_tableView) _tableView->columnChanged(*this);
}

}  // namespace kz
