#pragma once

#include <string>
#include <string_view>
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Replaces a file's contents all at once: the bytes go into a temporary file
// in the same folder, which is flushed to disk and renamed over the target.
// A failure at any point leaves the old file as it was.
class KZ_EXPORT AtomicFile {
public:
    // False, with a reason in *error, when any step fails.
    static bool write(const std::string& path, std::string_view bytes, std::string* error = nullptr);
};

}  // namespace ComTORVALEKZ2R4_Plugin
