#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

// A run loop of the calling thread with named modes. Work is scheduled as
// performs: a callable, a delay, the modes it may run in and an order (lower
// runs first among those that are due). runMode runs what is due in one mode,
// including performs that become due while it runs, until nothing is due.
//
// Time comes from a monotonic clock. Tests switch to a manual clock, which
// stands still except when advanced, so delays never depend on how fast the
// machine is.
class KZ_EXPORT RunLoop {
    struct Shared;

public:
    // How other threads hand work to a run loop: a copyable handle, safe to
    // use from any thread and after the loop's thread has ended (the work is
    // then dropped). Posted work becomes due at once in the given modes, in
    // the order it was posted.
    class KZ_EXPORT Inbox {
    public:
        Inbox() = default;
        void post(std::function<void()> work, std::vector<std::string> modes) const;
        explicit operator bool() const { return static_cast<bool>(_shared); }

    private:
        friend class RunLoop;
        explicit Inbox(std::shared_ptr<Shared> shared) : _shared(std::move(shared)) {}
        std::shared_ptr<Shared> _shared;
    };

    static constexpr const char* kDefaultMode = "kCFRunLoopDefaultMode";
    static constexpr const char* kModalPanelMode = "NSModalPanelRunLoopMode";

    RunLoop();
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    static RunLoop& current();

    void perform(std::function<void()> work, double delaySeconds, std::vector<std::string> modes,
                 int order = 0);
    void runMode(std::string_view mode);
    // The mode of the innermost runMode in progress; empty when not running.
    std::string currentMode() const { return _modeStack.empty() ? std::string() : _modeStack.back(); }

    Inbox inbox() const { return Inbox(_shared); }
    // Blocks until there is work to run: a perform already due, one posted
    // through the inbox, or (on the real clock) the next delayed one coming
    // due; at most `maxSeconds` of real time. True when there is.
    bool waitForWork(double maxSeconds);

    // Scheduled performs not yet run (in any mode), posted ones included.
    std::size_t pendingCount() const;
    void cancelAll();

    // Switches to the manual clock (if not already) and moves it forward.
    void advanceClock(double seconds);
    void useManualClock();
    double now() const;

private:
    struct Perform {
        std::function<void()> work;
        double due;
        std::vector<std::string> modes;
        int order;
        std::uint64_t sequence;
    };
    void takePosted();

    std::shared_ptr<Shared> _shared;
    std::vector<Perform> _pending;
    std::vector<std::string> _modeStack;
    std::uint64_t _nextSequence = 0;
    bool _manualClock = false;
    double _manualNow = 0;
};

}  // namespace kz
