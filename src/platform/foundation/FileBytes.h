#pragma once

#include <cstddef>
#include <string>

#include "platform/foundation/Export.h"

namespace kz {

// Reads a whole file that comes from outside, never more than a limit: at most
// one byte past it is read, so a device or a file that keeps growing is
// refused without being read whole. Each caller words its own errors.
class KZ_EXPORT FileBytes {
public:
    enum class Status {
        ok,
        cannotOpen,  // missing, not permitted
        cannotRead,  // a folder, or a read error
        tooLarge,    // more than the limit
    };

    static Status read(const std::string& path, std::size_t maxBytes, std::string* bytes);
};

}  // namespace kz
