#include "platform/foundation/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/foundation/CrashPoint.h"

namespace kz {

namespace {

// The temporaries' names: "." + the target's name + "." + six random
// characters + this suffix, which no file of anyone else's carries.
constexpr std::string_view kSuffix = ".kzpde-tmp";
constexpr std::size_t kRandom = 6;
// Room for the dot, the random part and the suffix within a file name's 255 bytes.
constexpr std::size_t kMaxBaseInName = 200;

// The process's file-creation mask, read without changing it (umask() would
// set it, which races with other threads).
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

std::string prefixFor(const std::string& base) { return "." + base.substr(0, kMaxBaseInName) + "."; }

// Removes the file NAME in FOLDER when it is a temporary nobody holds: its
// writer is dead, or done (then the name is gone already).
bool removeIfAbandoned(const std::string& folder, const std::string& name) {
    std::string path = folder + "/" + name;
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    bool removed = false;
    struct stat held {}, named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino && S_ISREG(named.st_mode))
        removed = ::unlink(path.c_str()) == 0;
    // Unlinked while locked: a writer that had just made it sees no link
    // left once it holds the lock, and makes another.
    ::close(fd);
    return removed;
}

// The abandoned temporaries in FOLDER; of one target's when PREFIX is its
// temporaries' prefix, of every target's when it is empty.
std::size_t removeAbandoned(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (AtomicFile::isTemporaryName(name) &&
            (prefix.empty() || (name.starts_with(prefix) && name.size() == prefix.size() + kRandom + kSuffix.size())))
            names.emplace_back(name);
    }
    ::closedir(dir);
    std::size_t removed = 0;
    for (const std::string& name : names) removed += removeIfAbandoned(folder, name) ? 1 : 0;
    return removed;
}

// A temporary of a unique name, created exclusively and locked; -1 on failure.
int createTemporary(const std::string& folder, const std::string& base, std::string& temporary) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string pattern = folder + "/" + prefixFor(base) + std::string(kRandom, 'X') + std::string(kSuffix);
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        int fd = ::mkostemps(name.data(), static_cast<int>(kSuffix.size()), O_CLOEXEC);
        if (fd < 0) return -1;
        int locked;
        do locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        struct stat info {};
        // A sweep of another process may have taken it for a dead writer's
        // in the instant before the lock: then it has no name any more.
        if (locked == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) {
            temporary = name.data();
            return fd;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

bool writeAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Gives the temporary the target's name without replacing a file there.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A file system without the flag: a hard link refuses an existing name
    // too. A crash between the two leaves the temporary as a second name
    // of the new file, which the next sweep removes.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

}  // namespace

bool AtomicFile::isTemporaryName(std::string_view name) {
    return name.size() > 1 + 1 + kRandom + kSuffix.size() && name.front() == '.' && name.ends_with(kSuffix) &&
           name[name.size() - kSuffix.size() - kRandom - 1] == '.';
}

std::size_t AtomicFile::removeLeftovers(const std::string& folder) {
    return removeAbandoned(folder.empty() ? "." : folder, {});
}

bool AtomicFile::write(const std::string& path, std::string_view bytes, std::string* error) {
    return write(path, bytes, Options{}, error);
}

bool AtomicFile::write(const std::string& path, std::string_view bytes, const Options& options, std::string* error) {
    if (path.empty()) {
        if (error) *error = "empty path";
        return false;
    }
    std::string::size_type slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) {
        if (error) *error = "path names a folder";
        return false;
    }
    // What a killed earlier write of this very file left goes first.
    removeAbandoned(folder, prefixFor(base));

    std::string temporary;
    int fd = createTemporary(folder, base, temporary);
    if (fd < 0) return fail(error, "cannot create a temporary file in " + folder);
    CrashPoint::pass();

    mode_t mode = 0;
    struct stat old {};
    if (options.mode) mode = static_cast<mode_t>(*options.mode & 07777);
    else mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    bool ok = ::fchmod(fd, mode) == 0 || fail(error, "cannot set the mode");
    // In two halves, so that a crash test sees a half-made temporary too.
    std::size_t half = bytes.size() / 2;
    if (ok && !writeAll(fd, bytes.substr(0, half))) ok = fail(error, "cannot write " + temporary);
    if (ok) CrashPoint::pass();
    if (ok && !writeAll(fd, bytes.substr(half))) ok = fail(error, "cannot write " + temporary);
    if (ok && ::fsync(fd) != 0) ok = fail(error, "cannot flush " + temporary);
    if (ok) CrashPoint::pass();
    if (ok) {
        bool renamed = options.replace ? ::rename(temporary.c_str(), path.c_str()) == 0
                                       : renameWithoutReplacing(temporary, path);
        if (!renamed) ok = fail(error, options.replace ? "cannot replace " + path : "cannot create " + path);
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        ::close(fd);
        return false;
    }
    CrashPoint::pass();
    // The lock goes only now that the temporary's name is gone.
    ::close(fd);
    // The rename is durable once the folder's entry is on disk. The file is
    // in place already, so a folder that cannot be flushed (some file
    // systems refuse) does not fail the write.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace kz
