#pragma once

namespace ComTORVALEKZ2R4_Plugin {

// What a reply body holds: a reply element of the operation or a fault.
struct SoapBodyPart {
    virtual ~SoapBodyPart() = default;
};

}  // namespace ComTORVALEKZ2R4_Plugin
