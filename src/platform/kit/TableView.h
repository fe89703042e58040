#pragma once

#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "platform/kit/Control.h"
#include "platform/kit/TableColumn.h"

namespace kz {

class TableView;

// What a table asks for its rows. Not owned by the table.
class KZ_EXPORT TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfRowsInTableView(TableView& tableView) = 0;
    virtual Value objectValueForTableColumn(TableView& tableView, TableColumn* column, int row) = 0;
};

// What a table tells and asks as the user works it. Not owned.
class KZ_EXPORT TableViewDelegate {
public:
    virtual ~TableViewDelegate() = default;
    // Asked before the user moves the selection at all.
    virtual bool selectionShouldChangeInTableView(TableView& /*tableView*/) { return true; }
    virtual bool shouldSelectRow(TableView& /*tableView*/, int /*row*/) { return true; }
    // After the selection changed, by the user or the program.
    virtual void tableViewSelectionDidChange(TableView& /*tableView*/) {}
    // Before a row's cell is drawn, to give it an icon or colour.
    virtual void willDisplayCell(TableView& /*tableView*/, Cell& /*cell*/, TableColumn* /*column*/, int /*row*/) {}
};

// Rows from a data source in columns, with a selection of rows.
class KZ_EXPORT TableView : public Control {
public:
    explicit TableView(Rect frame = {});
    ~TableView() override;
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    const std::vector<std::shared_ptr<TableColumn>>& tableColumns() const { return _columns; }
    void addTableColumn(std::shared_ptr<TableColumn> column);
    void removeTableColumn(TableColumn& column);
    TableColumn* tableColumnWithIdentifier(std::string_view identifier) const;
    int columnWithIdentifier(std::string_view identifier) const;

    TableViewDataSource* dataSource() const { return _dataSource; }
    void setDataSource(TableViewDataSource* source) { _dataSource = source; }
    TableViewDelegate* delegate() const { return _delegate; }
    void setDelegate(TableViewDelegate* delegate) { _delegate = delegate; }

    // Asks the data source again; selected rows that are gone are dropped.
    virtual void reloadData();
    int numberOfRows() const { return _rowCount; }

    int selectedRow() const { return _selected.empty() ? -1 : *_selected.rbegin(); }
    const std::set<int>& selectedRowIndexes() const { return _selected; }
    int numberOfSelectedRows() const { return static_cast<int>(_selected.size()); }
    bool isRowSelected(int row) const { return _selected.count(row) != 0; }
    // By program: the delegate is not asked, but hears of a change.
    void selectRowIndexes(const std::set<int>& rows, bool extend);
    void selectRow(int row) { selectRowIndexes({row}, false); }
    void deselectRow(int row);
    void deselectAll();
    bool allowsMultipleSelection() const { return _multiple; }
    void setAllowsMultipleSelection(bool on) { _multiple = on; }

    // The user clicks a row: the delegate may refuse the change or the row.
    // False when nothing changed hands.
    bool clickRow(int row);

    // The column's data cell filled for the row as it is drawn: the data
    // source's value, then the delegate's touches.
    std::unique_ptr<Cell> preparedCell(TableColumn& column, int row);

    // A column's width or cell changed.
    void columnChanged(TableColumn& column);

protected:
    // The hooks an outline view answers from its items instead.
    virtual int rowCountFromSource();
    virtual Value valueFromSource(TableColumn& column, int row);
    virtual void willDisplay(Cell& cell, TableColumn& column, int row);
    virtual bool selectionShouldChange();
    virtual bool shouldSelect(int row);
    virtual void selectionDidChange();
    // The new number of rows and the rows then selected (those that exist);
    // the delegate hears of a changed selection once the rows are in place.
    void setRows(int rows, const std::set<int>& selection);

private:
    void setSelection(std::set<int> rows);
    std::vector<std::shared_ptr<TableColumn>> _columns;
    TableViewDataSource* _dataSource = nullptr;
    TableViewDelegate* _delegate = nullptr;
    int _rowCount = 0;
    std::set<int> _selected;
    bool _multiple = false;
};

}  // namespace kz
