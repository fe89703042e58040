#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// A file of the process's own with no name in any folder, so that nothing
// is left behind however the process ends (kill -9 included). Code that
// wants a path (libcups, the PPD reader) opens it through path(), a
// /proc/self/fd name that lives as long as the object.
class KZ_EXPORT ScratchFile {
public:
    // An empty file in the temporary folder ($TMPDIR, else /tmp); valid()
    // tells whether it could be made.
    ScratchFile();
    // Takes over an open descriptor (a file already unlinked, say).
    explicit ScratchFile(int fd);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool valid() const { return _fd >= 0; }
    const std::string& path() const { return _path; }
    // Replaces the contents with BYTES; false with a reason in *error.
    bool write(std::string_view bytes, std::string* error = nullptr);
    // Adds BYTES at the end, for contents that come in pieces (a stream
    // spooled here rather than held in memory); false with a reason in *error.
    bool append(std::string_view bytes, std::string* error = nullptr);
    // The size of the contents now.
    std::uint64_t size() const;

private:
    int _fd = -1;
    std::string _path;
};

}  // namespace kz
