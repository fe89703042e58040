#pragma once

#include <sys/types.h>

#include <string>

#include "platform/foundation/Export.h"

namespace kz {

// Holds a folder for one writer at a time, across processes: an exclusive
// flock on a lock file in the folder, waited for, let go by the destructor
// or by the process's end however it ends (so a killed writer never leaves
// the folder locked). Sequences of several renames take it; a single
// AtomicFile write needs none. Taking it again on the same thread while it
// is held nests instead of waiting for itself.
class KZ_EXPORT FolderLock {
public:
    // The lock file's name: a dot name, so folder listings pass it by.
    static constexpr const char* kFileName = ".kzpde.lock";

    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when the lock file could not be opened or locked; error() says why.
    bool locked() const { return _locked; }
    const std::string& error() const { return _error; }

private:
    bool _locked = false;
    dev_t _device = 0;
    ino_t _inode = 0;
    std::string _error;
};

}  // namespace kz
