#pragma once

#include <string>

#include "platform/foundation/Export.h"

namespace kz {

// A face by family name and size in points. An empty name is the system font.
class KZ_EXPORT Font {
public:
    Font() = default;
    Font(std::string name, double pointSize) : _name(std::move(name)), _pointSize(pointSize) {}
    static Font systemFontOfSize(double size) { return Font("", size); }
    static Font boldSystemFontOfSize(double size) { return Font("", size, true); }

    const std::string& fontName() const { return _name; }
    double pointSize() const { return _pointSize; }
    bool isBold() const { return _bold; }

    bool operator==(const Font&) const = default;

private:
    Font(std::string name, double size, bool bold) : _name(std::move(name)), _pointSize(size), _bold(bold) {}
    std::string _name;
    double _pointSize = 13;
    bool _bold = false;
};

}  // namespace kz
