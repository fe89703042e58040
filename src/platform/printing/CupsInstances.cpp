#include "platform/printing/CupsInstances.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FolderLock.h"
#include "platform/printing/LpoptionsText.h"

namespace kz {

namespace {

namespace fs = std::filesystem;

// More than any lpoptions file holds; a larger one is not taken for one.
constexpr std::uintmax_t kMaxFile = 4 * 1024 * 1024;

// The destinations as libcups merges them (the scheduler's queues, the
// system's and the user's lpoptions), freed with the object.
struct Dests {
    explicit Dests(http_t* http) { count = cupsGetDests2(http, &list); }
    ~Dests() { cupsFreeDests(count, list); }
    Dests(const Dests&) = delete;
    Dests& operator=(const Dests&) = delete;

    cups_dest_t* find(const std::string& queue, const char* instance) const {
        return cupsGetDest(queue.c_str(), instance, count, list);
    }
    int count = 0;
    cups_dest_t* list = nullptr;
};

std::string lastError(const char* what) {
    const char* reason = cupsLastErrorString();
    return std::string(what) + ": " + (reason && *reason ? reason : std::strerror(errno));
}

bool systemWide() { return ::geteuid() == 0; }

std::optional<std::string> readFile(const std::string& path, std::string* error) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return std::string();
    if (fs::file_size(path, ec) > kMaxFile) {
        if (error) *error = path + " is too large for an lpoptions file";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) {
        if (error) *error = "cannot read " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return bytes.str();
}

// A folder of its own in the temporary folder, gone with the object.
struct ScratchHome {
    ScratchHome() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kzpde-lpoptions-XXXXXX";
        if (::mkdtemp(pattern.data())) path = pattern;
    }
    ~ScratchHome() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;
    std::string path;
};

// Runs WORK with libcups writing its user file below HOME. libcups writes
// the home's lpoptions whenever there is a home, root's too (the password
// database's when HOME is unset), does so in place, and takes the home once
// per thread: so the work runs on a thread of its own whose libcups starts
// with HOME pointing at the scratch folder, speaking to the caller's server.
void withLibcupsHome(const std::string& home, const std::function<void()>& work) {
    const std::string server = cupsServer();
    const int port = ippPort();
    const http_encryption_t encryption = cupsEncryption();
    const std::string user = cupsUser();
    const char* callerHome = std::getenv("HOME");
    const std::optional<std::string> savedHome = callerHome ? std::optional<std::string>(callerHome) : std::nullopt;
    // The caller waits on the thread, so nothing of this process reads
    // the environment while HOME is the scratch folder.
    ::setenv("HOME", home.c_str(), 1);
    std::thread worker([&] {
        cupsSetServer(server.c_str());
        ippSetPort(port);
        cupsSetEncryption(encryption);
        cupsSetUser(user.c_str());
        work();
    });
    worker.join();
    if (savedHome) ::setenv("HOME", savedHome->c_str(), 1);
    else ::unsetenv("HOME");
}

// Changes the destinations with CHANGE and writes the lpoptions file of
// lpoptionsPath() with libcups, all at once (the old or the new whole file
// whatever happens). Publishing changes only the instance: the file's own
// default stays the default (libcups would write the scheduler's default,
// or $PRINTER, into it), and its lines for queues the scheduler does not
// list now (libcups would drop them) are kept as they are.
CupsInstances::Outcome rewrite(http_t* http, const std::function<CupsInstances::Outcome(Dests&)>& change,
                               std::string* error) {
    auto fail = [&](CupsInstances::Outcome outcome, const std::string& why) {
        if (error) *error = why;
        return outcome;
    };
    const std::string target = CupsInstances::lpoptionsPath();
    // As libcups makes it: ~/.cups is the user's alone.
    std::error_code ec;
    if (const fs::path folder = fs::path(target).parent_path(); !systemWide() && !fs::exists(folder, ec))
        if (fs::create_directories(folder, ec)) fs::permissions(folder, fs::perms::owner_all, ec);
    // Reading, changing and replacing the file is one step for publishers:
    // two at once would otherwise each write the file without the other's instance.
    FolderLock lock(fs::path(target).parent_path().string());
    if (!lock.locked()) return fail(CupsInstances::Outcome::Failed, lock.error());
    const std::optional<std::string> before = readFile(target, error);
    if (!before) return CupsInstances::Outcome::Failed;
    ScratchHome scratch;
    if (scratch.path.empty()) return fail(CupsInstances::Outcome::Failed, lastError("cannot make a scratch folder"));
    const std::string written = scratch.path + "/.cups/lpoptions";
    // The user's file is read from the scratch home as from the real one;
    // the system file libcups reads from the server root itself.
    fs::create_directory(scratch.path + "/.cups", ec);
    if (!systemWide() && !AtomicFile::write(written, *before, error)) return CupsInstances::Outcome::Failed;

    CupsInstances::Outcome outcome = CupsInstances::Outcome::Failed;
    std::string kept;
    withLibcupsHome(scratch.path, [&] {
        Dests dests(http);
        outcome = change(dests);
        if (outcome != CupsInstances::Outcome::Done) return;
        const std::string defaultName = LpoptionsText::defaultDestination(*before);
        const std::size_t slash = defaultName.find('/');
        const cups_dest_t* named =
            defaultName.empty() ? nullptr
                                : dests.find(defaultName.substr(0, slash),
                                             slash == std::string::npos ? nullptr : defaultName.c_str() + slash + 1);
        for (int i = 0; i < dests.count; ++i) dests.list[i].is_default = &dests.list[i] == named;
        kept = LpoptionsText::linesOfOtherQueues(
            *before, [&](std::string_view queue) { return dests.find(std::string(queue), nullptr) != nullptr; });
        errno = 0;
        if (cupsSetDests2(http, dests.count, dests.list) != 0) {
            outcome = fail(CupsInstances::Outcome::Failed, lastError(("cannot write " + target).c_str()));
        }
    });
    if (outcome != CupsInstances::Outcome::Done) return outcome;
    std::optional<std::string> after = readFile(written, error);
    if (!after) return CupsInstances::Outcome::Failed;
    AtomicFile::Options options;
    // Everyone's dialogs read the system file.
    if (systemWide()) options.mode = 0644;
    if (!AtomicFile::write(target, *after + kept, options, error)) return CupsInstances::Outcome::Failed;
    return CupsInstances::Outcome::Done;
}

}  // namespace

bool CupsInstances::isInstanceName(const std::string& name, std::string* why) {
    auto refuse = [&](const char* reason) {
        if (why) *why = reason;
        return false;
    };
    if (name.empty()) return refuse("an instance needs a name");
    for (unsigned char c : name) {
        if (c == ' ' || c == '\t' || c < 0x20 || c == 0x7f)
            return refuse("an instance's name cannot hold spaces or control characters (lpoptions splits there)");
        if (c == '/') return refuse("an instance's name cannot hold \"/\"");
    }
    return true;
}

std::string CupsInstances::lpoptionsPath() {
    // Root keeps the instances every user's dialogs list, as lpoptions(1)
    // says; the server root from the environment as libcups takes it, but
    // never for a process that runs with another's rights.
    if (systemWide()) {
        const char* root = ::getuid() == ::geteuid() ? std::getenv("CUPS_SERVERROOT") : nullptr;
        return std::string(root && *root ? root : "/etc/cups") + "/lpoptions";
    }
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.cups/lpoptions";
    // Without HOME libcups takes the home the password database names.
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return std::string(entry->pw_dir) + "/.cups/lpoptions";
    return "/.cups/lpoptions";
}

CupsInstances::Outcome CupsInstances::save(http_t* http, const std::string& queue, const std::string& name,
                                           const JobOptions& options, std::string* error) {
    auto fail = [&](Outcome outcome, const std::string& why) {
        if (error) *error = why;
        return outcome;
    };
    if (std::string why; !isInstanceName(name, &why)) return fail(Outcome::Refused, name + ": " + why);
    for (const JobOptions::Option& option : options.options())
        if (option.kind == JobOptions::Kind::password)
            return fail(Outcome::Refused, "the options hold a password, which lpoptions would keep as plain text");
    return rewrite(
        http,
        [&](Dests& dests) {
            if (!dests.find(queue, nullptr)) return fail(Outcome::NoQueue, "there is no printer \"" + queue + "\"");
            // Made anew, so that nothing an earlier version held stays; libcups
            // copies the queue's options into a new instance, which are dropped too.
            dests.count = cupsRemoveDest(queue.c_str(), name.c_str(), dests.count, &dests.list);
            dests.count = cupsAddDest(queue.c_str(), name.c_str(), dests.count, &dests.list);
            cups_dest_t* instance = dests.find(queue, name.c_str());
            if (!instance) return fail(Outcome::Failed, "libcups made no instance " + queue + "/" + name);
            cupsFreeOptions(instance->num_options, instance->options);
            instance->num_options = 0;
            instance->options = nullptr;
            // lpoptions writes an empty value as the bare name, which reads back as
            // "true": an empty text would arrive as "True". Left out, it is unset.
            for (const JobOptions::Option& option : options.options())
                if (!option.value.empty())
                    instance->num_options = cupsAddOption(option.name.c_str(), option.value.c_str(),
                                                          instance->num_options, &instance->options);
            return Outcome::Done;
        },
        error);
}

CupsInstances::Outcome CupsInstances::remove(http_t* http, const std::string& queue, const std::string& name,
                                             std::string* error) {
    return rewrite(
        http,
        [&](Dests& dests) {
            if (!dests.find(queue, name.c_str())) {
                if (error) *error = "there is no instance " + queue + "/" + name;
                return Outcome::NoInstance;
            }
            dests.count = cupsRemoveDest(queue.c_str(), name.c_str(), dests.count, &dests.list);
            return Outcome::Done;
        },
        error);
}

}  // namespace kz
