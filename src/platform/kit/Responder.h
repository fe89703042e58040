#pragma once

#include "platform/foundation/Export.h"

namespace kz {

// Something that can hold a window's keyboard focus.
class KZ_EXPORT Responder {
public:
    virtual ~Responder() = default;
    virtual bool acceptsFirstResponder() const { return false; }
    virtual bool becomeFirstResponder() { return true; }
    // Answers false to keep the focus (a field whose text is not acceptable).
    virtual bool resignFirstResponder() { return true; }
};

}  // namespace kz
