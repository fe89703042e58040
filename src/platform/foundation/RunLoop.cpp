#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <tuple>

namespace kz {

RunLoop& RunLoop::current() {
    thread_local RunLoop loop;
    return loop;
}

double RunLoop::now() const {
    if (_manualClock) return _manualNow;
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void RunLoop::useManualClock() {
    if (_manualClock) return;
    _manualNow = now();
    _manualClock = true;
}

void RunLoop::advanceClock(double seconds) {
    useManualClock();
    if (seconds > 0) _manualNow += seconds;
}

void RunLoop::perform(std::function<void()> work, double delaySeconds, std::vector<std::string> modes,
                      int order) {
    if (!work || modes.empty()) return;
    const double delay = delaySeconds > 0 ? delaySeconds : 0;
    _pending.push_back(Perform{std::move(work), now() + delay, std::move(modes), order, _nextSequence++});
}

void RunLoop::runMode(std::string_view mode) {
    _modeStack.emplace_back(mode);
    struct ModeGuard {
        std::vector<std::string>& stack;
        ~ModeGuard() { stack.pop_back(); }
    } guard{_modeStack};

    for (;;) {
        const double t = now();
        auto best = _pending.end();
        for (auto it = _pending.begin(); it != _pending.end(); ++it) {
            if (it->due > t) continue;
            if (std::find(it->modes.begin(), it->modes.end(), mode) == it->modes.end()) continue;
            if (best == _pending.end() || std::tie(it->order, it->due, it->sequence) <
                                              std::tie(best->order, best->due, best->sequence))
                best = it;
        }
        if (best == _pending.end()) return;
        // Taken out before it runs: the work may schedule more or run the loop.
        std::function<void()> work = std::move(best->work);
        _pending.erase(best);
        work();
    }
}

}  // namespace kz
