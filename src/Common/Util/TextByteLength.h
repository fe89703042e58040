#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The length limits of byte formatters count bytes in the system's default
// byte-string encoding; a text that does not convert without loss counts as
// its lossy conversion (one "?" per unmappable character).
class KZ_EXPORT TextByteLength {
public:
    static std::size_t measure(std::string_view utf8);
    // The encoding counted in, by ICU converter name ("windows-1252" unless
    // set; "windows-932" where Japanese is preferred).
    static void setEncodingName(std::string name);
    static const std::string& encodingName();
};

}  // namespace ComTORVALEKZ2R4_Plugin
