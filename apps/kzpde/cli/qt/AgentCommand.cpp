// kzpde agent: the user's held jobs on the product's queues, each in the
// print dialog of `kzpde dialog`, completed or cancelled there.
#include <QTimer>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/qt/QtHost.h"
#include "host/DialogSession.h"
#include "host/HeldJobCompletion.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/Application.h"
#include "platform/qt/QtBridge.h"
#include "support/BundleLocation.h"

namespace {

// How often the scheduler is asked for held jobs: a new one shows within
// two seconds, and one small request a second costs next to nothing.
constexpr int kPollMilliseconds = 1000;

struct Options {
    kzpde::QtHostOptions qt;
    bool once = false;
};

// One agent per user: a second one (the autostart entry and the unit both
// started, or a --once run beside the session's) would open every job twice.
// The lock lives in the user's runtime folder and goes with the process.
class AgentLock {
public:
    AgentLock() {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        const std::string path = runtime && *runtime ? std::string(runtime) + "/kzpde-agent.lock"
                                                     : "/tmp/kzpde-agent-" + std::to_string(::getuid()) + ".lock";
        _fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        _held = _fd >= 0 && ::flock(_fd, LOCK_EX | LOCK_NB) == 0;
    }
    ~AgentLock() {
        if (_fd >= 0) ::close(_fd);
    }
    AgentLock(const AgentLock&) = delete;
    AgentLock& operator=(const AgentLock&) = delete;
    bool held() const { return _held; }

private:
    int _fd = -1;
    bool _held = false;
};

class Agent {
public:
    Agent(kzpde::QtHost& host, bool once, kzpde::Invocation& inv) : _host(host), _once(once), _inv(inv) {}
    ~Agent() { closeSession(); }

    int status() const { return _status; }

    // Asks for held jobs and queues the new ones held for the panel; false
    // when the scheduler cannot be asked.
    bool poll() {
        std::string error;
        const auto ids = kzpde::HeldJobs::heldJobIds(&error);
        if (!ids) {
            if (!_schedulerDown) _inv.err << "kzpde agent: the scheduler cannot list the jobs: " << error << "\n";
            _schedulerDown = true;
            return false;
        }
        _schedulerDown = false;
        std::vector<int> oldestFirst = *ids;
        std::sort(oldestFirst.begin(), oldestFirst.end());
        for (int id : oldestFirst) {
            if (_seen.contains(id)) continue;
            _seen.insert(id);
            kzpde::HeldJobs jobs(kzpde::BundleLocation::path());
            kzpde::HeldJobs::Looked looked = jobs.look(id);
            // Held for another reason, or not on a product queue: not ours.
            if (looked.held && looked.held->forPanel) _pending.push_back(std::move(*looked.held));
        }
        return true;
    }

    // Opens the next job's dialog when none is open; in --once mode ends
    // the run when no job is left.
    void openNext() {
        while (!_session && !_stopping && !_pending.empty()) {
            kzpde::HeldJobs::Held held = std::move(_pending.front());
            _pending.pop_front();
            open(std::move(held));
        }
        if (!_session && (_stopping || (_once && _pending.empty()))) _host.quit(_status);
    }

    // The script ran out: the dialog open now is closed (its job stays
    // held) and no other opens.
    void stop() {
        _stopping = true;
        if (_session) _session->window().performClose();
        else openNext();
    }

private:
    void open(kzpde::HeldJobs::Held held) {
        _completion = std::make_unique<kzpde::HeldJobCompletion>(kzpde::BundleLocation::path());
        _completion->take(std::move(held));
        const kz::JobRecord& job = _completion->job();
        kzpde::DialogRequest request;
        request.bundlePath = kzpde::BundleLocation::path();
        request.printer = job.queue;
        request.japanese = kzpde::prefersJapanese();
        request.listCupsDestinations = false;
        request.settings = _completion->settings();
        request.title = job.title.empty() ? "Print" : job.title;
        request.complete = [this](const kz::JobOptions& options, const kzpde::HostPpd* ppd) -> std::optional<std::string> {
            std::ostringstream why;
            const auto done = _completion->complete(options, ppd, "agent", why);
            _inv.err << why.str();
            if (done.status == 0) return std::nullopt;
            return why.str().empty() ? std::string("the job was not released") : why.str();
        };
        _session = std::make_unique<kzpde::DialogSession>();
        std::string error;
        if (!_session->open(request, &error)) {
            _inv.err << "kzpde agent: job " << job.id << ": " << _session->secrets().redact(error) << "\n";
            _session.reset();
            _status = kzpde::kFailure;
            return;
        }
        // The dialog's end is handled once its click has returned.
        _session->setFinishedHandler([this] { QTimer::singleShot(0, [this] { finished(); }); });
        kz::Window& window = _session->window();
        window.center();
        kz::qt::QtBridge::shared().show(window);
        _inv.out << "job " << job.id << " on " << job.queue << " shown\n" << std::flush;
    }

    void finished() {
        if (!_session) return;
        const kz::JobRecord& job = _completion->job();
        const std::string which = "job " + std::to_string(job.id) + " on " + job.queue;
        switch (_session->outcome()) {
        case kzpde::DialogSession::Outcome::Printed:
            _inv.out << which << " released\n";
            break;
        case kzpde::DialogSession::Outcome::Cancelled:
            if (_completion->cancel("agent", _inv.err) == 0) _inv.out << which << " cancelled\n";
            else _status = kzpde::kFailure;
            break;
        case kzpde::DialogSession::Outcome::Failed:
            _inv.err << "kzpde agent: " << which << ": " << _session->message() << "\n";
            _status = kzpde::kFailure;
            break;
        default:
            _inv.out << which << " left held\n";
        }
        _inv.out << std::flush;
        closeSession();
        openNext();
    }

    void closeSession() {
        if (!_session) return;
        kz::qt::QtBridge::shared().forget(_session->window());
        _session.reset();
        _completion.reset();
    }

    kzpde::QtHost& _host;
    bool _once;
    kzpde::Invocation& _inv;
    int _status = kzpde::kOk;
    bool _stopping = false, _schedulerDown = false;
    std::set<int> _seen;  // every held job met in this run, handled or not ours
    std::deque<kzpde::HeldJobs::Held> _pending;
    std::unique_ptr<kzpde::HeldJobCompletion> _completion;
    std::unique_ptr<kzpde::DialogSession> _session;
};

int run(Options& o, kzpde::Invocation& inv) {
    AgentLock lock;
    if (!lock.held()) {
        inv.err << "kzpde agent: another agent runs for this user\n";
        return o.once ? kzpde::kFailure : kzpde::kOk;
    }
    auto bundle = kz::Bundle::open(kzpde::BundleLocation::path());
    if (!bundle) {
        inv.err << "kzpde agent: no plug-in bundle at " << kzpde::BundleLocation::path() << "\n";
        return kzpde::kFailure;
    }
    kzpde::QtHost host(o.qt, bundle);
    if (!host.start("agent", inv.err)) return kzpde::kFailure;
    Agent agent(host, o.once, inv);
    if (!agent.poll() && o.once) return kzpde::kFailure;
    QTimer timer;
    if (!o.once) {
        QObject::connect(&timer, &QTimer::timeout, [&] {
            agent.poll();
            agent.openNext();
        });
        timer.start(kPollMilliseconds);
    }
    QTimer::singleShot(0, [&] { agent.openNext(); });
    int status = kzpde::kOk;
    // Without a script the screenshots alone end the run, as in `kzpde
    // dialog`; what the script left open closes and stays held.
    std::function<void()> stopWhenIdle = [&] {
        if (kz::Application::shared().modalDepth() > 0) QTimer::singleShot(20, stopWhenIdle);
        else agent.stop();
    };
    host.run([&](bool ok) {
        if (!ok) {
            for (const auto& p : host.problems()) inv.err << "kzpde agent: script: " << p << "\n";
            status = kzpde::kFailure;
        }
        host.endModalSessions();
        timer.stop();
        QTimer::singleShot(0, stopWhenIdle);
    });
    for (const auto& shot : host.screenshots()) inv.out << "screenshot: " << shot << "\n";
    return status != kzpde::kOk ? status : agent.status();
}

const kzpde::Command::Registration registration{{
    "agent",
    "show the user's held jobs on KZ Print Server queues in the print dialog",
    "Runs for the user's desktop session: watches the CUPS scheduler for the user's\n"
    "jobs held for the panel on the product's queues (as `kzpde jobs` marks them; a\n"
    "new one shows within two seconds) and opens the print dialog of `kzpde dialog`\n"
    "for each in turn, on the job's queue, titled with the job's title, the job's\n"
    "own options restored into the panel. Print writes the panel's options into the\n"
    "job and releases it, as `kzpde release` does; Cancel cancels the job; closing\n"
    "the window leaves it held (the agent shows it again when it next starts). Jobs\n"
    "held for another reason (an operator's hold, `lp -H`) are left alone.\n"
    "--once: handles the jobs held now, one after the other, and exits.\n"
    "--script FILE and --screenshot DIR as for `kzpde dialog`; when the script runs\n"
    "out, the dialog open then is closed (its job stays held) and the agent exits.\n"
    "Prints one line per job (\"job ID on QUEUE shown\", then \"released\",\n"
    "\"cancelled\" or \"left held\"). Exit status 1 when the scheduler cannot be\n"
    "asked (--once), a job's dialog cannot open or a step fails.\n"
    "Needs a display (or QT_QPA_PLATFORM=offscreen).\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_flag("--once", o->once, "handle the jobs held now and exit");
        kzpde::QtHost::declareOptions(app, o->qt);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace
