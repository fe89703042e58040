#include "platform/foundation/FileStamp.h"

#include <sys/stat.h>

namespace kz {

std::optional<FileStamp> FileStamp::of(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    stamp.changedSeconds = static_cast<std::int64_t>(info.st_ctim.tv_sec);
    stamp.changedNanoseconds = static_cast<std::int64_t>(info.st_ctim.tv_nsec);
    return stamp;
}

}  // namespace kz
