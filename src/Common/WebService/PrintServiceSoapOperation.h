#pragma once

#include <memory>
#include <string>
#include <vector>

#include <libxml/tree.h>

#include "Common/WebService/PrintServiceMessages.h"
#include "Common/WebService/PrintServiceSoapResponse.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

class PrintServiceSoap;
class PrintServiceSoapOperation;

struct HttpCookie {
    std::string name;
    std::string value;
    bool operator==(const HttpCookie&) const = default;
};

class PrintServiceSoapResponseDelegate {
public:
    virtual ~PrintServiceSoapResponseDelegate() = default;
    virtual void operation(PrintServiceSoapOperation& operation, const PrintServiceSoapResponse& response) = 0;
};

// One call: posts its envelope through the binding and turns what comes back
// into the response, then tells the delegate.
class KZ_EXPORT PrintServiceSoapOperation : public std::enable_shared_from_this<PrintServiceSoapOperation> {
public:
    PrintServiceSoapOperation(PrintServiceSoap* binding, PrintServiceSoapResponseDelegate* delegate);
    virtual ~PrintServiceSoapOperation() = default;

    PrintServiceSoap* binding;
    PrintServiceSoapResponse response;
    PrintServiceSoapResponseDelegate* delegate;
    std::string responseData;
    bool dataArrived = false;
    // Set by the binding for an operation it runs asynchronously (always one
    // owned by a shared_ptr).
    bool asynchronous = false;

    virtual void main() = 0;
    virtual const char* replyElement() const = 0;

    // What the transport reports, in this order.
    void connectionDidReceiveResponse(const std::vector<HttpCookie>& cookies);
    void connectionDidReceiveData(std::string_view bytes);
    void connectionDidFailWithError(const SoapError& error);
    void connectionDidFinishLoading();

protected:
    virtual std::shared_ptr<SoapBodyPart> deserializeReply(xmlNodePtr node) const = 0;
};

// The operation object of one service operation, e.g.
// PrintServiceSoap_getFeederInfoList.
template <class Request, class Reply>
class PrintServiceSoapCall : public PrintServiceSoapOperation {
public:
    PrintServiceSoapCall(PrintServiceSoap* b, PrintServiceSoapResponseDelegate* d, Request p)
        : PrintServiceSoapOperation(b, d), parameters(std::move(p)) {}
    Request parameters;
    void main() override;
    const char* replyElement() const override {
        return PrintServiceOperationInfo::find(Request::operationName)->replyElement;
    }

protected:
    std::shared_ptr<SoapBodyPart> deserializeReply(xmlNodePtr node) const override {
        return Reply::deserializeNode(node);
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
