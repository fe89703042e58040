#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// Replaces a file's contents all at once: the bytes go into a temporary file
// of a unique name in the same folder, which is flushed to disk and renamed
// over the target; then the folder is flushed, so the new name survives a
// crash too. A failure at any point leaves the old file as it was.
class KZ_EXPORT AtomicFile {
public:
    // False, with a reason in *error, when any step fails.
    static bool write(const std::string& path, std::string_view bytes, std::string* error = nullptr);
};

}  // namespace kz
