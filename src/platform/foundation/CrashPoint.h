#pragma once

#include "platform/foundation/Export.h"

namespace kz {

// The steps of the system's file writes, counted so that a test can stop a
// process dead (SIGKILL, exactly what kill -9 does) at the N-th of them and
// then check what a crash there leaves behind. The environment variable
// KZ_TEST_CRASH_AT_STEP=N arms it for a whole process (a child running the
// tool); nothing happens without it.
class KZ_EXPORT CrashPoint {
public:
    // One step done; the process dies here when it is the step asked for.
    static void pass();
    // Arms the count anew from here: die at the STEP-th pass (1-based) from
    // now on, never with 0. For tests that fork a child of their own.
    static void arm(long step);
};

}  // namespace kz
