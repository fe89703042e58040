#pragma once

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// What a reply body holds: a reply element of the operation or a fault.
struct KZ_EXPORT SoapBodyPart {
    virtual ~SoapBodyPart() = default;
};

}  // namespace ComTORVALEKZ2R4_Plugin
