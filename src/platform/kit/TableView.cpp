#include "platform/kit/TableView.h"

#include "platform/kit/ViewClassOf.h"

#include <algorithm>

namespace kz {

namespace {
// A data source cannot make the table hold more rows than this.
constexpr int kMaxRows = 1'000'000;
}  // namespace

TableView::TableView(Rect frame) : Control(frame) {}

TableView::~TableView() {
    for (auto& c : _columns) c->_tableView = nullptr;
}

void TableView::addTableColumn(std::shared_ptr<TableColumn> column) {
    if (!column || column->_tableView) return;
    column->_tableView = this;
    _columns.push_back(std::move(column));
    changed("columns");
}

void TableView::removeTableColumn(TableColumn& column) {
    auto it = std::find_if(_columns.begin(), _columns.end(), [&](auto& c) { return c.get() == &column; });
    if (it == _columns.end()) return;
    column._tableView = nullptr;
    _columns.erase(it);
    changed("columns");
}

TableColumn* TableView::tableColumnWithIdentifier(std::string_view identifier) const {
    int i = columnWithIdentifier(identifier);
    return i < 0 ? nullptr : _columns[static_cast<std::size_t>(i)].get();
}

int TableView::columnWithIdentifier(std::string_view identifier) const {
    for (std::size_t i = 0; i < _columns.size(); ++i)
        if (_columns[i]->identifier() == identifier) return static_cast<int>(i);
    return -1;
}

void TableView::reloadData() { setRows(rowCountFromSource(), _selected); }

void TableView::setRows(int rows, const std::set<int>& selection) {
    _rowCount = std::clamp(rows, 0, kMaxRows);
    std::set<int> kept(selection.begin(), selection.lower_bound(_rowCount));
    changed("rows");
    setSelection(std::move(kept));
}

int TableView::rowCountFromSource() { return _dataSource ? _dataSource->numberOfRowsInTableView(*this) : 0; }

Value TableView::valueFromSource(TableColumn& column, int row) {
    return _dataSource ? _dataSource->objectValueForTableColumn(*this, &column, row) : Value();
}

void TableView::willDisplay(Cell& cell, TableColumn& column, int row) {
    if (_delegate) _delegate->willDisplayCell(*this, cell, &column, row);
}

bool TableView::selectionShouldChange() { return !_delegate || _delegate->selectionShouldChangeInTableView(*this); }

bool TableView::shouldSelect(int row) { return !_delegate || _delegate->shouldSelectRow(*this, row); }

void TableView::selectionDidChange() {
    if (_delegate) _delegate->tableViewSelectionDidChange(*this);
}

void TableView::setSelection(std::set<int> rows) {
    if (rows == _selected) return;
    _selected = std::move(rows);
    changed("selection");
    selectionDidChange();
}

void TableView::selectRowIndexes(const std::set<int>& rows, bool extend) {
    std::set<int> valid;
    for (int r : rows)
        if (r >= 0 && r < _rowCount) valid.insert(r);
    std::set<int> next = extend ? _selected : std::set<int>{};
    if (_multiple) next.insert(valid.begin(), valid.end());
    else if (!valid.empty()) next = {*valid.rbegin()};
    setSelection(std::move(next));
}

void TableView::deselectRow(int row) {
    std::set<int> next = _selected;
    next.erase(row);
    setSelection(std::move(next));
}

void TableView::deselectAll() { setSelection({}); }

bool TableView::clickRow(int row) {
    if (!isEnabled() || row < 0 || row >= _rowCount) return false;
    if (_selected == std::set<int>{row}) return true;
    if (!selectionShouldChange() || !shouldSelect(row)) return false;
    setSelection({row});
    sendAction();
    return true;
}

std::unique_ptr<Cell> TableView::preparedCell(TableColumn& column, int row) {
    std::unique_ptr<Cell> cell = column.dataCell().clone();
    cell->setControlView(nullptr);
    cell->setObjectValue(valueFromSource(column, row));
    willDisplay(*cell, column, row);
    return cell;
}

void TableView::columnChanged(TableColumn&) { changed("columns"); }

namespace {

void loadColumns(TableView& t, const Value& cols, ViewLoading& l) {
    if (!cols.isArray()) l.failHere("columns must be a list");
    for (const Value& cv : cols.array()) {
        const Dictionary& cd = cv.dictionary();
        auto column = std::make_shared<TableColumn>(cd.get("identifier").stringValue());
        if (const Value* w = ViewLoading::get(cd, "maxWidth", PropertyType::Number)) column->setMaxWidth(ViewLoading::number(*w, l.path()));
        if (const Value* w = ViewLoading::get(cd, "width", PropertyType::Number)) column->setWidth(ViewLoading::number(*w, l.path()));
        t.addTableColumn(column);
    }
}

Value columns(const TableView& t) {
    Array out;
    for (const auto& col : t.tableColumns())
        out.push_back(Value(Dictionary{{"identifier", Value(col->identifier())}, {"width", ViewClass::number(col->width())}}));
    return Value(std::move(out));
}

}  // namespace

const ViewClass& TableView::described() {
    static const ViewClass c =
        ViewClassOf<TableView>("TableView", &Control::described())
            .property("columns", PropertyType::Any, columns, loadColumns)
            .setter("allowsMultipleSelection", PropertyType::Bool,
                    [](TableView& t, const Value& on) { t.setAllowsMultipleSelection(on.boolValue()); })
            .property("rows", [](const TableView& t) { return Value(t.numberOfRows()); })
            .property("selectedRows",
                      [](const TableView& t) {
                          Array rows;
                          for (int r : t.selectedRowIndexes()) rows.emplace_back(r);
                          return Value(std::move(rows));
                      })
            .shows("columns", "columns", DumpShape::Entries)
            .shows("rows", "rows", DumpShape::Number)
            .shows("selected", "selectedRows", DumpShape::Indexes)
            .done();
    return c;
}

}  // namespace kz
