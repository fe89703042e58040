// Feeds arbitrary bytes to the favorite file parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/preferences/AppPreference.h"
#include "engine/favorites/FavoriteFile.h"
#include "platform/foundation/Log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool quiet = (kz::Log::setSyslogEnabled(false), true);
    (void)quiet;
    namespace kzp = ComTORVALEKZ2R4_Plugin;
    kzp::FavoriteFile file;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (file._parse(bytes, kzp::FavoriteFile::kWrittenVersion, kzp::AppPreference::destinationIotType())) {
        // What was read must be writable or refused, never crash.
        (void)file._write(kzp::FavoriteFile::kWrittenVersion, kzp::AppPreference::destinationIotType());
    }
    return 0;
}
