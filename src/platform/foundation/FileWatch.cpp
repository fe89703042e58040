#include "platform/foundation/FileWatch.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace kz {

namespace {

// File systems whose changes may come from elsewhere than this kernel.
bool reportsOnlyLocalChanges(const std::string& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return false;
    switch (static_cast<unsigned long>(info.f_type)) {
        case NFS_SUPER_MAGIC:
        case SMB_SUPER_MAGIC:
        case 0xFF534D42UL:  // CIFS
        case 0xFE534D42UL:  // SMB2
        case 0x65735546UL:  // FUSE
        case 0x6B414653UL:  // AFS
        case CODA_SUPER_MAGIC:
        case 0x01021997UL:  // 9P
            return false;
        default:
            return true;
    }
}

}  // namespace

FileWatch::FileWatch(const std::string& path) : _path(path) {
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return;
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    struct stat link {};
    // A link's target may change in another folder.
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) return;
    if (!reportsOnlyLocalChanges(folder)) return;
    _fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (_fd < 0) return;
    const std::uint32_t events = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE |
                                 IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;
    if (::inotify_add_watch(_fd, folder.c_str(), events) < 0) {
        ::close(_fd);
        _fd = -1;
    }
}

FileWatch::~FileWatch() {
    if (_fd >= 0) ::close(_fd);
}

bool FileWatch::mayHaveChanged() {
    if (_fd < 0) return true;
    bool changed = _first;
    _first = false;
    alignas(struct inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(_fd, buffer, sizeof buffer);
        if (n > 0) {
            changed = true;
            // The folder itself moved or went, or reports were lost: from
            // now on the file is looked at every time.
            bool lost = false;
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(struct inotify_event)) <= n;) {
                const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + at);
                lost = lost || (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_Q_OVERFLOW)) != 0;
                at += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
            }
            if (lost) {
                ::close(_fd);
                _fd = -1;
                return true;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // EAGAIN: nothing more to report. Anything else, or a folder that
        // went away (its watch is gone), can no longer be trusted.
        if (n < 0 && errno != EAGAIN) {
            ::close(_fd);
            _fd = -1;
            return true;
        }
        return changed;
    }
}

}  // namespace kz
