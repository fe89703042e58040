#include "Common/WebService/PrintServiceSoapOperation.h"

#include <cstring>

#include "Common/WebService/PrintServiceSoap.h"
#include "Common/WebService/SOAPFault.h"
#include "Common/WebService/SoapXml.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

PrintServiceSoapOperation::PrintServiceSoapOperation(PrintServiceSoap* b, PrintServiceSoapResponseDelegate* d)
    : binding(b), delegate(d) {}

void PrintServiceSoapOperation::connectionDidReceiveResponse(const std::vector<HttpCookie>& cookies) {
    binding->cookies = cookies;
}

void PrintServiceSoapOperation::connectionDidReceiveData(std::string_view bytes) {
    dataArrived = true;
    responseData.append(bytes);
}

void PrintServiceSoapOperation::connectionDidFailWithError(const SoapError& error) {
    if (binding->logXMLInOut) kz::Log::format("### ResponseError:\n%s", error.description.c_str());
    response.error = error;
    if (delegate) delegate->operation(*this, response);
}

void PrintServiceSoapOperation::connectionDidFinishLoading() {
    if (!delegate) return;
    // An empty reply still ends the call: an asynchronous caller would wait
    // for ever otherwise.
    if (!dataArrived) {
        delegate->operation(*this, response);
        return;
    }
    xmlDocPtr doc = SoapXml::parse(responseData);
    if (!doc) {
        response.error = SoapError{"PrintServiceResponseXML", 1, "Errors while parsing returned XML",
                                   SoapError::Kind::BadReply};
        delegate->operation(*this, response);
        return;
    }
    // XML that is no envelope (a web page, a proxy's notice) is no answer
    // of the service either, and must not read as a reply with no lists.
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!SoapXml::isElement(root, "Envelope")) {
        xmlFreeDoc(doc);
        response.error = SoapError{"PrintServiceResponseXML", 2, "The returned XML is not a SOAP envelope",
                                   SoapError::Kind::BadReply};
        delegate->operation(*this, response);
        return;
    }
    const char* wanted = replyElement();
    for (xmlNodePtr child = root->children; child; child = child->next) {
        if (!SoapXml::isElement(child, "Body")) continue;
        std::vector<std::shared_ptr<SoapBodyPart>> parts;
        for (xmlNodePtr part = child->children; part; part = part->next) {
            if (part->type != XML_ELEMENT_NODE) continue;
            std::shared_ptr<SoapBodyPart> object;
            if (SoapXml::isElement(part, wanted)) {
                object = deserializeReply(part);
            } else if (SoapXml::isElement(part, "Fault") && part->ns && part->ns->prefix &&
                       std::strcmp(reinterpret_cast<const char*>(part->ns->prefix), "soap") == 0) {
                object = SOAPFault::deserializeNode(part);
            }
            if (object) parts.push_back(std::move(object));
        }
        response.bodyParts = std::move(parts);
    }
    xmlFreeDoc(doc);
    delegate->operation(*this, response);
}

}  // namespace ComTORVALEKZ2R4_Plugin
