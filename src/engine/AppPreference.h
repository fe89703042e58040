#pragma once

#include <cstdint>

#include "platform/foundation/Export.h"
#include "platform/foundation/TextEncoding.h"

namespace ComTORVALEKZ2R4_Plugin {

// Where the plug-in keeps per-user data and which names its resources carry.
class KZ_EXPORT AppPreference {
public:
    static AppPreference& sharedInstance();

    // The device type written into and required of favorite files.
    static std::int32_t destinationIotType() { return 4; }
    // Text encoding of favorite files and first choice for profile files.
    static kz::Encoding stringEncodingForServer() { return kz::Encoding::UTF8; }

private:
    AppPreference() = default;
};

}  // namespace ComTORVALEKZ2R4_Plugin
