#include "platform/foundation/CrashPoint.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace kz {

namespace {

long fromEnvironment() {
    const char* text = std::getenv("KZ_TEST_CRASH_AT_STEP");
    if (!text || !*text) return 0;
    char* end = nullptr;
    long step = std::strtol(text, &end, 10);
    return *end == '\0' && step > 0 ? step : 0;
}

std::atomic<long>& target() {
    static std::atomic<long> step{fromEnvironment()};
    return step;
}

std::atomic<long> passed{0};

}  // namespace

void CrashPoint::pass() {
    long at = target().load(std::memory_order_relaxed);
    if (at <= 0) return;
    if (passed.fetch_add(1) + 1 == at) {
        // Nothing may run after this: no destructor, no flush, no handler.
        ::kill(::getpid(), SIGKILL);
        ::_Exit(137);
    }
}

void CrashPoint::arm(long step) {
    passed = 0;
    target() = step > 0 ? step : 0;
}

}  // namespace kz
