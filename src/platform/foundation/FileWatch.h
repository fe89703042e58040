#pragma once

#include <string>

#include "platform/foundation/Export.h"

namespace kz {

// Tells cheaply whether a file may have changed since the last question,
// for readers that keep a parsed file and are asked very often: the kernel
// reports every change in the file's folder (inotify), and a question reads
// those reports without blocking. Where that cannot be trusted (no inotify,
// the file a symbolic link, a network or user-space file system whose
// changes the kernel does not see) every question answers yes, and the
// caller looks at the file itself. Not copyable; main thread only.
class KZ_EXPORT FileWatch {
public:
    explicit FileWatch(const std::string& path);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    const std::string& path() const { return _path; }
    // Whether the file may have changed since the previous call; the first
    // call answers yes.
    bool mayHaveChanged();
    // Whether reports come at all (false: every answer is yes).
    bool isWatching() const { return _fd >= 0; }

private:
    std::string _path;
    int _fd = -1;
    bool _first = true;
};

}  // namespace kz
