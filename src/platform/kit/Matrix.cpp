#include "platform/kit/Matrix.h"

#include "platform/kit/ViewClassOf.h"

#include <algorithm>
#include <map>

#include "platform/kit/ButtonCell.h"
#include "platform/kit/ViewLoader.h"

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

namespace {

// Mode, prototype, size and cells are read together: the cells are made
// from the prototype, as many as rows and columns say.
void loadLayout(Matrix& m, ViewLoading& l) {
    static const std::map<std::string, MatrixMode, std::less<>> modes = {
        {"radio", MatrixMode::Radio}, {"highlight", MatrixMode::Highlight}, {"list", MatrixMode::List}, {"track", MatrixMode::Track}};
    const Dictionary& d = l.description();
    using L = ViewLoading;
    if (const Value* mode = L::get(d, "mode", PropertyType::String))
        if (auto it = modes.find(mode->string()); it != modes.end()) m.setMode(it->second);
    auto proto = std::make_unique<ButtonCell>("");
    proto->setButtonType(m.mode() == MatrixMode::Radio ? ButtonType::Radio : ButtonType::Switch);
    if (const Value* p = L::get(d, "prototype", PropertyType::Dictionary)) {
        if (const Value* t = L::get(p->dictionary(), "title", PropertyType::String)) proto->setTitle(t->string());
        if (const Value* t = L::get(p->dictionary(), "buttonType", PropertyType::String); t && t->string() == "switch")
            proto->setButtonType(ButtonType::Switch);
    }
    m.setPrototype(std::move(proto));
    const Value* cells = d.find("cells");
    if (cells && !cells->isArray()) l.failHere("cells must be a list");
    int n = cells ? static_cast<int>(cells->array().size()) : 0;
    int columns = L::get(d, "columns", PropertyType::Integer) ? std::clamp(d.get("columns").intValue(), 1, 64) : 1;
    int rows = L::get(d, "rows", PropertyType::Integer) ? std::clamp(d.get("rows").intValue(), 0, 1024) : (n + columns - 1) / columns;
    if (static_cast<long>(rows) * columns > ViewLoader::kMaxViews) l.failHere("too many cells");
    m.renewRows(rows, columns);
    if (const Value* s = L::get(d, "cellSize", PropertyType::Array); s && s->array().size() == 2)
        m.setCellSize({L::number(s->array()[0], l.path()), L::number(s->array()[1], l.path())});
    for (int i = 0; i < n && i < rows * columns; ++i) {
        const Dictionary& cd = cells->array()[static_cast<std::size_t>(i)].dictionary();
        Cell* c = m.cellAtRow(i / columns, i % columns);
        if (const Value* t = L::get(cd, "title", PropertyType::String)) c->setTitle(t->string());
        if (const Value* t = L::get(cd, "tag", PropertyType::Integer)) c->setTag(static_cast<long>(t->integerValue()));
        if (const Value* r = cd.find("representedObject")) c->setRepresentedObject(*r);
        bool on;
        if (L::flag(cd, "enabled", on)) c->setEnabled(on);
    }
    if (m.mode() == MatrixMode::Radio && rows > 0) {
        int sel = L::get(d, "selectedRow", PropertyType::Integer) ? d.get("selectedRow").intValue() : 0;
        m.selectCellAtRow(sel, 0);
    }
}

Value cellEntries(const Matrix& m) {
    Array out;
    for (const Cell* c : m.cells())
        out.push_back(Value(Dictionary{
            {"title", Value(c->title())}, {"state", Value(Cell::stateName(c->state()))}, {"enabled", Value(c->isEnabled())}}));
    return Value(std::move(out));
}

// The title of the cell that is on (the last, should several be).
Value onTitle(const Matrix& m) {
    const Cell* on = nullptr;
    for (const Cell* c : m.cells())
        if (c->state() == OnState) on = c;
    return on ? Value(on->title()) : Value();
}

}  // namespace

const ViewClass& Matrix::described() {
    static const ViewClass c =
        ViewClassOf<Matrix>("Matrix", &Control::described())
            .property("selection",
                      [](const Matrix& m) { return Value(Array{Value(m.selectedRow()), Value(m.selectedColumn())}); })
            .property("items", cellEntries)
            .property("value", onTitle)
            .whenLoaded(loadLayout)
            .shows("selected", "selection", DumpShape::Pair)
            .shows("cells", "items", DumpShape::Entries)
            .reports("items")
            .reports("value")
            .done();
    return c;
}

}  // namespace kz
