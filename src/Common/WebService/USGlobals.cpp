#include "Common/WebService/USGlobals.h"

namespace ComTORVALEKZ2R4_Plugin {

USGlobals::USGlobals()
    : wsdlStandardNamespaces{{SoapNamespace::kSchema, "xsd"},
                             {SoapNamespace::kService, "PrintService"},
                             {SoapNamespace::kEnvelope11, "SOAPENV"},
                             {SoapNamespace::kEncoding11, "SOAPENC"},
                             {SoapNamespace::kSchemaInstance, "xsi"}} {}

USGlobals& USGlobals::sharedInstance() {
    static USGlobals globals;
    return globals;
}

}  // namespace ComTORVALEKZ2R4_Plugin
