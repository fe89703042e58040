#pragma once

#include <string>
#include <string_view>

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

    // The advance width of the text in points, measured with the face that
    // fontconfig picks for the name (its fallback when the face is missing).
    // A name ending in " Bold" asks for the bold weight.
    double widthOfString(std::string_view text) const;
    // The file of the face used, empty when none could be loaded.
    std::string faceFile() const;

    bool operator==(const Font&) const = default;

private:
    Font(std::string name, double size, bool bold) : _name(std::move(name)), _pointSize(size), _bold(bold) {}
    std::string _name;
    double _pointSize = 13;
    bool _bold = false;
};

}  // namespace kz
