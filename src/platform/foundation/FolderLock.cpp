#include "platform/foundation/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "platform/foundation/CrashPoint.h"

namespace kz {

namespace {

struct Held {
    int fd = -1;
    int depth = 0;
};

// The locks this thread holds, by lock file. flock excludes another open
// of the same file even in this process, so a second thread waits as a
// second process would, while this thread's nested takes only count.
std::map<std::pair<dev_t, ino_t>, Held>& heldByThisThread() {
    thread_local std::map<std::pair<dev_t, ino_t>, Held> held;
    return held;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
    std::string path = (folder.empty() ? std::string(".") : folder) + "/" + kFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        _error = path + ": " + std::strerror(errno);
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        _error = path + ": not a lock file";
        ::close(fd);
        return;
    }
    _device = info.st_dev;
    _inode = info.st_ino;
    auto& held = heldByThisThread();
    if (auto it = held.find({_device, _inode}); it != held.end()) {
        ::close(fd);
        ++it->second.depth;
        _locked = true;
        return;
    }
    int result;
    do result = ::flock(fd, LOCK_EX);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        _error = path + ": " + std::strerror(errno);
        ::close(fd);
        return;
    }
    held[{_device, _inode}] = {fd, 1};
    _locked = true;
    CrashPoint::pass();
}

FolderLock::~FolderLock() {
    if (!_locked) return;
    auto& held = heldByThisThread();
    auto it = held.find({_device, _inode});
    if (it == held.end() || --it->second.depth > 0) return;
    // Closing the last descriptor lets the lock go.
    ::close(it->second.fd);
    held.erase(it);
}

}  // namespace kz
