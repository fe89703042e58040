#pragma once

#include <string>

class QWidget;

namespace kz::qt {

// The text dump of a mirrored tree as the kit's ViewDump writes it, read
// from the Qt widgets alone (geometry, texts, states, items, rows), so that
// a test can hold the Qt tree against the kit tree line by line.
struct QtDump {
    // The widget of a view and everything below it, from the indent on.
    static std::string dump(const QWidget& viewWidget, int indent = 0);
    // A mirrored window: its line, then its content view.
    static std::string dumpWindow(const QWidget& topLevel);
};

}  // namespace kz::qt
