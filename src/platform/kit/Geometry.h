#pragma once

#include <cstddef>

namespace kz {

// Points, origin at the bottom left as the panel's layouts are written.
struct Point {
    double x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin;
    Size size;
    Rect() = default;
    Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}
    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    bool contains(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
    bool operator==(const Rect&) const = default;
};

// A text range in UTF-16 code units, as selections are counted.
struct Range {
    std::size_t location = 0, length = 0;
    std::size_t end() const { return location + length; }
    bool operator==(const Range&) const = default;
};

}  // namespace kz
