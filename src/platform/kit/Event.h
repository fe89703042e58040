#pragma once

#include <string>

#include "platform/kit/Geometry.h"

namespace kz {

// A user's input event, as a window receives it and as handlers ask after
// it (Application::currentEvent): which key or button, and where.
struct Event {
    enum class Type { LeftMouseDown, RightMouseDown, KeyDown };
    Type type = Type::LeftMouseDown;
    std::string characters;  // key-down: the characters typed ("\r" Return, "\x03" Enter)
    Point location;          // mouse-down: in the window's coordinates

    static Event keyDown(std::string characters) { return {Type::KeyDown, std::move(characters), {}}; }
    static Event mouseDown(Point at, bool right = false) {
        return {right ? Type::RightMouseDown : Type::LeftMouseDown, {}, at};
    }
};

}  // namespace kz
