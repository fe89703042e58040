#pragma once

#include <limits>
#include <memory>
#include <string>

#include "platform/kit/Cell.h"

namespace kz {

class TableView;

// One column of a table or outline view: an identifier the data source
// answers by, a width bounded by a maximum, and the cell its rows are drawn
// with (a plain text cell unless one is set).
class KZ_EXPORT TableColumn {
public:
    explicit TableColumn(std::string identifier, double width = 100);

    const std::string& identifier() const { return _identifier; }
    double width() const { return _width; }
    // Kept within the maximum width.
    void setWidth(double width);
    double maxWidth() const { return _maxWidth; }
    // A width above the new maximum shrinks to it.
    void setMaxWidth(double maxWidth);

    Cell& dataCell() const { return *_dataCell; }
    void setDataCell(std::unique_ptr<Cell> cell);

    TableView* tableView() const { return _tableView; }

private:
    friend class TableView;
    void changed();
    std::string _identifier;
    double _width;
    double _maxWidth = std::numeric_limits<double>::max();
    std::unique_ptr<Cell> _dataCell;
    TableView* _tableView = nullptr;
};

}  // namespace kz
