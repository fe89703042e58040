#include "platform/kit/Matrix.h"

#include <algorithm>

#include "platform/kit/ButtonCell.h"

namespace kz {

Matrix::Matrix(Rect frame, MatrixMode mode, std::unique_ptr<Cell> prototype, int rows, int columns)
    : Control(frame), _mode(mode), _prototype(std::move(prototype)) {
    renewRows(rows, columns);
    if (_mode == MatrixMode::Radio && _rows > 0 && _columns > 0) selectCellAtRow(0, 0);
}

void Matrix::setPrototype(std::unique_ptr<Cell> prototype) { _prototype = std::move(prototype); }

void Matrix::setCellSize(Size size) {
    if (size == _cellSize) return;
    _cellSize = size;
    changed("cellSize");
}

std::unique_ptr<Cell> Matrix::makeCell() const {
    std::unique_ptr<Cell> c = _prototype ? _prototype->clone() : std::make_unique<ButtonCell>();
    c->setControlView(const_cast<Matrix*>(this));
    return c;
}

void Matrix::renewRows(int rows, int columns) {
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    std::vector<std::unique_ptr<Cell>> cells;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            if (r < _rows && c < _columns)
                cells.push_back(std::move(_cells[static_cast<std::size_t>(r * _columns + c)]));
            else
                cells.push_back(makeCell());
        }
    _cells = std::move(cells);
    _rows = rows;
    _columns = columns;
    if (_selectedRow >= _rows || _selectedColumn >= _columns) _selectedRow = _selectedColumn = -1;
    changed("cells");
}

void Matrix::removeRow(int row) {
    if (row < 0 || row >= _rows) return;
    auto first = _cells.begin() + row * _columns;
    _cells.erase(first, first + _columns);
    --_rows;
    if (_selectedRow == row) _selectedRow = _selectedColumn = -1;
    else if (_selectedRow > row) --_selectedRow;
    changed("cells");
}

Cell* Matrix::cellAtRow(int row, int column) const {
    if (row < 0 || column < 0 || row >= _rows || column >= _columns) return nullptr;
    return _cells[static_cast<std::size_t>(row * _columns + column)].get();
}

Cell* Matrix::cellWithTag(long tag) const {
    for (auto& c : _cells)
        if (c->tag() == tag) return c.get();
    return nullptr;
}

std::vector<Cell*> Matrix::cells() const {
    std::vector<Cell*> out;
    for (auto& c : _cells) out.push_back(c.get());
    return out;
}

void Matrix::selectCellAtRow(int row, int column) {
    if (!cellAtRow(row, column)) row = column = -1;
    _selectedRow = row;
    _selectedColumn = column;
    if (_mode == MatrixMode::Radio) {
        for (auto& c : _cells) c->setState(c.get() == selectedCell() ? OnState : OffState);
    }
    changed("selectedCell");
}

bool Matrix::selectCellWithTag(long tag) {
    for (int i = 0; i < static_cast<int>(_cells.size()); ++i)
        if (_cells[static_cast<std::size_t>(i)]->tag() == tag) {
            selectCellAtRow(i / _columns, i % _columns);
            return true;
        }
    return false;
}

void Matrix::deselectAllCells() {
    if (_mode == MatrixMode::Radio && !_allowsEmptySelection) return;
    selectCellAtRow(-1, -1);
}

void Matrix::setEnabled(bool enabled) {
    _enabled = enabled;
    for (auto& c : _cells) c->setEnabled(enabled);
}

bool Matrix::isAnyCellEnabled() const {
    return std::any_of(_cells.begin(), _cells.end(), [](auto& c) { return c->isEnabled(); });
}

bool Matrix::clickCellAtRow(int row, int column) {
    Cell* c = cellAtRow(row, column);
    if (!c || !c->isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
    auto keep = weak_from_this().lock();
    if (_mode == MatrixMode::Radio) {
        selectCellAtRow(row, column);
    } else {
        _selectedRow = row;
        _selectedColumn = column;
        auto* b = dynamic_cast<ButtonCell*>(c);
        if (b && b->changesStateOnClick()) c->setState(c->state() == OnState ? OffState : OnState);
        changed("selectedCell");
    }
    sendAction();
    return true;
}

}  // namespace kz
