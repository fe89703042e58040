#pragma once

#include <string>

#include "platform/foundation/Export.h"

namespace kz {

// A colour, named when it is one of the system's control colours so that a
// bridge can map it to the platform's own.
struct KZ_EXPORT Color {
    std::string name;  // empty for a plain RGB colour
    double red = 0, green = 0, blue = 0, alpha = 1;

    static Color rgb(double r, double g, double b, double a = 1) { return Color{"", r, g, b, a}; }
    static Color controlTextColor() { return Color{"controlTextColor", 0, 0, 0, 1}; }
    static Color disabledControlTextColor() { return Color{"disabledControlTextColor", 0.5, 0.5, 0.5, 1}; }
    static Color secondarySelectedControlColor() { return Color{"secondarySelectedControlColor", 0.83, 0.83, 0.83, 1}; }
    static Color textColor() { return Color{"textColor", 0, 0, 0, 1}; }
    static Color textBackgroundColor() { return Color{"textBackgroundColor", 1, 1, 1, 1}; }
    static Color controlColor() { return Color{"controlColor", 0.93, 0.93, 0.93, 1}; }
    static Color lightGrayColor() { return Color{"lightGrayColor", 2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static Color clearColor() { return Color{"clearColor", 0, 0, 0, 0}; }

    bool operator==(const Color&) const = default;
};

}  // namespace kz
