#pragma once

#include <map>
#include <string>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Standard prefixes of the namespaces the service's types live in: a typed
// element names its class as standard prefix + "_" + local name, whatever
// prefix the reply happened to use.
class KZ_EXPORT USGlobals {
public:
    static USGlobals& sharedInstance();
    std::map<std::string, std::string> wsdlStandardNamespaces;

private:
    USGlobals();
};

namespace SoapNamespace {
inline constexpr const char* kSchema = "http://www.w3.org/2001/XMLSchema";
inline constexpr const char* kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr const char* kEnvelope11 = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr const char* kEnvelope12 = "http://www.w3.org/2003/05/soap-envelope";
inline constexpr const char* kEncoding11 = "http://schemas.xmlsoap.org/soap/encoding/";
inline constexpr const char* kService = "corvenix:quill";
}  // namespace SoapNamespace

}  // namespace ComTORVALEKZ2R4_Plugin
