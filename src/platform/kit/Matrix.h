#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/kit/Control.h"

namespace kz {

enum class MatrixMode { Radio, Highlight, List, Track };

// A grid of cells made from a prototype; in radio mode exactly the selected
// cell is on.
class KZ_EXPORT Matrix : public Control {
public:
    Matrix(Rect frame, MatrixMode mode, std::unique_ptr<Cell> prototype, int rows, int columns);
    explicit Matrix(Rect frame = {}) : Matrix(frame, MatrixMode::Radio, nullptr, 0, 0) {}
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    MatrixMode mode() const { return _mode; }
    void setMode(MatrixMode mode) { _mode = mode; }
    const Cell* prototype() const { return _prototype.get(); }
    void setPrototype(std::unique_ptr<Cell> prototype);
    bool allowsEmptySelection() const { return _allowsEmptySelection; }
    void setAllowsEmptySelection(bool on) { _allowsEmptySelection = on; }
    Size cellSize() const { return _cellSize; }
    void setCellSize(Size size);

    int numberOfRows() const { return _rows; }
    int numberOfColumns() const { return _columns; }
    // Grows or shrinks to the size; new cells are copies of the prototype.
    void renewRows(int rows, int columns);
    void addRow() { renewRows(_rows + 1, std::max(_columns, 1)); }
    void removeRow(int row);
    // Null out of range.
    Cell* cellAtRow(int row, int column) const;
    Cell* cellWithTag(long tag) const;
    std::vector<Cell*> cells() const;

    // The selected cell; for a control the value belongs to it.
    Cell* cell() const override { return selectedCell(); }
    Cell* selectedCell() const { return cellAtRow(_selectedRow, _selectedColumn); }
    int selectedRow() const { return _selectedRow; }
    int selectedColumn() const { return _selectedColumn; }
    // In radio mode the cell turns on and every other off; -1, -1 deselects
    // (the first cell stays selected when empty selection is not allowed).
    void selectCellAtRow(int row, int column);
    bool selectCellWithTag(long tag);
    void deselectAllCells();

    // Every cell.
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return _enabled; }
    // Whether any cell is enabled.
    bool isAnyCellEnabled() const;

    // The user clicks a cell: refused when the matrix or the cell is disabled.
    bool clickCellAtRow(int row, int column);

private:
    std::unique_ptr<Cell> makeCell() const;
    MatrixMode _mode;
    std::unique_ptr<Cell> _prototype;
    std::vector<std::unique_ptr<Cell>> _cells;  // row major
    int _rows = 0, _columns = 0;
    int _selectedRow = -1, _selectedColumn = -1;
    bool _allowsEmptySelection = false;
    bool _enabled = true;
    Size _cellSize{100, 20};
};

}  // namespace kz
