#pragma once

#include "platform/foundation/Export.h"

namespace kz {

class FieldEditor;
class Window;

class KZ_EXPORT WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    // A field editor for the object, or null for the window's shared one.
    virtual FieldEditor* windowWillReturnFieldEditor(Window& /*window*/, const void* /*client*/) { return nullptr; }
    virtual bool windowShouldClose(Window& /*window*/) { return true; }
    virtual void windowWillClose(Window& /*window*/) {}
};

}  // namespace kz
