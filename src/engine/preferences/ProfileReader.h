#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Profile (".cps") files: lines of KEY=VALUE ended by CR LF, in UTF-8 or,
// failing that, DOS Latin 1.
class KZ_EXPORT ProfileReader {
public:
    // The pairs of the file; nullopt (and a log line) when it does not exist
    // or cannot be read.
    static std::optional<kz::Dictionary> readFile(const std::string& path);
    // The pairs of the file's bytes; nullopt when they decode in neither
    // encoding (error says why).
    static std::optional<kz::Dictionary> parse(std::string_view bytes, std::string* error = nullptr);
};

}  // namespace ComTORVALEKZ2R4_Plugin
