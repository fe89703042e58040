// Feeds arbitrary bytes to the profile file reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/preferences/ProfileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<kz::Dictionary> pairs = ComTORVALEKZ2R4_Plugin::ProfileReader::parse(bytes);
    if (pairs) {
        // Every key is text before the first '=' of its line: never holds one.
        for (const auto& entry : *pairs) {
            if (entry.first.find('=') != std::string::npos) __builtin_trap();
        }
    }
    return 0;
}
