#include "Common/WebService/SOAPFault.h"

#include <cstring>

#include "Common/WebService/SoapXml.h"
#include "Common/WebService/USGlobals.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

bool inNamespace(xmlNodePtr node, const char* uri) {
    return node->ns && node->ns->href && std::strcmp(reinterpret_cast<const char*>(node->ns->href), uri) == 0;
}

std::string childText(xmlNodePtr node, const char* name) {
    for (xmlNodePtr c = node->children; c; c = c->next)
        if (SoapXml::isElement(c, name)) return SoapXml::text(c).value_or("");
    return {};
}

xmlNodePtr child(xmlNodePtr node, const char* name) {
    for (xmlNodePtr c = node->children; c; c = c->next)
        if (SoapXml::isElement(c, name)) return c;
    return nullptr;
}

}  // namespace

std::shared_ptr<SOAPFault> SOAPFault::deserializeNode(xmlNodePtr node) {
    auto fault = std::make_shared<SOAPFault>();
    if (inNamespace(node, SoapNamespace::kEnvelope11)) {
        fault->faultcode = childText(node, "faultcode");
        fault->faultstring = childText(node, "faultstring");
        fault->faultactor = childText(node, "faultactor");
        fault->detail = childText(node, "detail");
    } else if (inNamespace(node, SoapNamespace::kEnvelope12)) {
        if (xmlNodePtr code = child(node, "Code")) fault->faultcode = childText(code, "Value");
        if (xmlNodePtr reason = child(node, "Reason")) {
            // The reason's text sits in one or more Text children.
            fault->faultstring = SoapXml::text(reason).value_or("");
            if (xmlNodePtr text = child(reason, "Text")) fault->faultstring = SoapXml::text(text).value_or("");
        }
        fault->faultactor = childText(node, "Node");
        fault->detail = childText(node, "Detail");
    }
    return fault;
}

std::string SOAPFault::simpleFaultString() const {
    static const std::string prefix = "System.Web.Services.Protocols.SoapException: ";
    std::string s = faultstring;
    for (auto at = s.find(prefix); at != std::string::npos; at = s.find(prefix, at)) s.erase(at, prefix.size());
    auto trace = s.find("\n   at ");
    if (trace != std::string::npos) s.erase(trace);
    return s;
}

}  // namespace ComTORVALEKZ2R4_Plugin
