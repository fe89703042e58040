#pragma once

#include <memory>
#include <string>

#include <libxml/tree.h>

#include "Common/WebService/SoapBodyPart.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A fault the service answered instead of a reply (SOAP 1.1 or 1.2 form).
struct KZ_EXPORT SOAPFault : SoapBodyPart {
    std::string faultcode, faultstring, faultactor, detail;

    static std::shared_ptr<SOAPFault> deserializeNode(xmlNodePtr node);
    // The message alone: without the server's exception prefix and stack trace.
    std::string simpleFaultString() const;
};

}  // namespace ComTORVALEKZ2R4_Plugin
