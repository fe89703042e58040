#pragma once

#include "engine/panes/PrinterDataSource.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// The print server's lists, asked of the panel that answers printer-data
// queries. Nothing is kept: a pane asks again when it needs a list.
class PrinterLists {
public:
    // The panel is not owned; one that goes away clears itself, so that the
    // lists never reach a dead panel.
    void setSource(PrinterDataSource* panel) { _source = panel; }
    PrinterDataSource* source() const { return _source; }
    void clearSource(const PrinterDataSource* panel) {
        if (_source == panel) _source = nullptr;
    }

    // The list the query names; null without a panel.
    kz::Value named(const char* queryName) const;
    // Asks for every list once, discarding the answers.
    void fetchAll() const;

private:
    PrinterDataSource* _source = nullptr;
};

}  // namespace ComTORVALEKZ2R4_Plugin
