#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/Export.h"

namespace kz {

// What tells a file's versions apart without reading it: the file (device
// and inode, so a file replaced by a rename is another one), its size and
// its modification and change times to the nanosecond. Readers that keep a
// parsed file in memory compare stamps to know when to read it again.
struct KZ_EXPORT FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;

    // The stamp of the file at the path (symbolic links followed); none
    // when there is nothing to stat.
    static std::optional<FileStamp> of(const std::string& path);

    bool operator==(const FileStamp&) const = default;
};

}  // namespace kz
