#pragma once

#include "platform/foundation/Export.h"

namespace kz {

// The process's one application object.
class KZ_EXPORT Application {
public:
    static Application& shared();

    // The alert sound; counted so that tests and the tool can see it.
    void beep();
    int beepCount() const { return _beeps; }

private:
    Application() = default;
    int _beeps = 0;
};

}  // namespace kz
