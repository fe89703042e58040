#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <tuple>

namespace kz {

struct RunLoop::Shared {
    std::mutex lock;
    std::condition_variable posted;
    bool open = true;
    std::vector<std::pair<std::function<void()>, std::vector<std::string>>> work;
};

RunLoop::RunLoop() : _shared(std::make_shared<Shared>()) {}

RunLoop::~RunLoop() {
    decltype(Shared::work) dropped;
    std::lock_guard lock(_shared->lock);
    _shared->open = false;
    dropped.swap(_shared->work);
}

void RunLoop::Inbox::post(std::function<void()> work, std::vector<std::string> modes) const {
    if (!_shared || !work || modes.empty()) return;
    std::function<void()> dropped;  // destroyed outside the lock
    {
        std::lock_guard lock(_shared->lock);
        if (!_shared->open) {
            dropped = std::move(work);
        } else {
            _shared->work.emplace_back(std::move(work), std::move(modes));
        }
    }
    _shared->posted.notify_all();
}

bool RunLoop::waitForWork(double maxSeconds) {
    const double t = now();
    double wait = maxSeconds > 0 ? maxSeconds : 0;
    for (const auto& p : _pending) {
        if (p.due <= t) return true;
        if (!_manualClock) wait = std::min(wait, p.due - t);
    }
    std::unique_lock lock(_shared->lock);
    if (wait > 0)
        _shared->posted.wait_for(lock, std::chrono::duration<double>(wait), [&] { return !_shared->work.empty(); });
    if (!_shared->work.empty()) return true;
    lock.unlock();
    const double later = now();
    for (const auto& p : _pending)
        if (p.due <= later) return true;
    return false;
}

void RunLoop::takePosted() {
    std::vector<std::pair<std::function<void()>, std::vector<std::string>>> posted;
    {
        std::lock_guard lock(_shared->lock);
        posted.swap(_shared->work);
    }
    for (auto& [work, modes] : posted) perform(std::move(work), 0, std::move(modes));
}

std::size_t RunLoop::pendingCount() const {
    std::lock_guard lock(_shared->lock);
    return _pending.size() + _shared->work.size();
}

void RunLoop::cancelAll() {
    _pending.clear();
    decltype(Shared::work) dropped;
    std::lock_guard lock(_shared->lock);
    dropped.swap(_shared->work);
}

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
        takePosted();
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
