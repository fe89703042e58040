#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// Replaces a file's contents all at once: the bytes go into a temporary file
// of a unique hidden name in the same folder (created exclusively and held
// with an flock while it exists under that name), which is flushed to disk
// and renamed over the target; then the folder is flushed, so the new name
// survives a crash too. A failure or a crash at any point leaves the old
// file whole; a crash may leave the temporary, which no listing shows (a dot
// name with none of the target's extensions) and which the next write to
// the folder, or removeLeftovers, removes once its writer is gone.
class KZ_EXPORT AtomicFile {
public:
    struct Options {
        // The new file's mode; when unset, a replaced file's mode is kept and
        // a new file gets what open() would give it (0666 less the umask).
        // Files carrying a password give 0600.
        std::optional<unsigned> mode;
        // False: fail, leaving it as it is, when a file of the name exists
        // (copies that must not overwrite what is there).
        bool replace = true;
    };

    // False, with a reason in *error, when any step fails.
    static bool write(const std::string& path, std::string_view bytes, std::string* error = nullptr);
    static bool write(const std::string& path, std::string_view bytes, const Options& options,
                      std::string* error = nullptr);

    // Removes the temporaries in FOLDER whose writers are gone (a writer at
    // work holds its temporary's lock, so it is never pulled from under it);
    // answers how many went.
    static std::size_t removeLeftovers(const std::string& folder);
    // Whether NAME (a file name without folder) is one of the temporaries.
    static bool isTemporaryName(std::string_view name);
};

}  // namespace kz
