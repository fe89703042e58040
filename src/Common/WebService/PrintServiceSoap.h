#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Common/WebService/PrintServiceSoapOperation.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The binding: endpoint and connection settings of the print service, and
// one synchronous and one asynchronous method per operation. The transport is
// libcurl. A synchronous call runs on the calling thread. An asynchronous call
// transfers on a thread of its own, but everything it reports (cookies, data,
// the delegate's message) is delivered on the run loop of the thread that
// started it, in the default mode: the caller sees no other thread. A binding
// destroyed before its replies are delivered cancels its transfers and drops
// their replies.
class KZ_EXPORT PrintServiceSoap : public PrintServiceSoapResponseDelegate {
public:
    explicit PrintServiceSoap(std::string address);
    ~PrintServiceSoap() override;
    PrintServiceSoap(const PrintServiceSoap&) = delete;
    PrintServiceSoap& operator=(const PrintServiceSoap&) = delete;

    std::string address;
    double defaultTimeout = 30.0;
    // A reply longer than this ends the transfer (a hostile or broken server
    // may send without end); at most SoapXml::kMaxReplyBytes.
    std::size_t maxReplyBytes;
    std::optional<std::vector<HttpCookie>> cookies;  // nullopt until the first cookie
    bool logXMLInOut = false;                         // logs transport errors
    bool synchronousOperationComplete = false;
    std::optional<std::string> authUsername, authPassword;

    void addCookie(HttpCookie cookie);
    PrintServiceSoapResponse performSynchronousOperation(PrintServiceSoapOperation& operation);
    void performAsynchronousOperation(std::shared_ptr<PrintServiceSoapOperation> operation);
    void sendHTTPCallUsingBody(const std::string& body, const std::string& soapAction,
                               PrintServiceSoapOperation& operation);
    // The binding is the delegate of its own synchronous operations.
    void operation(PrintServiceSoapOperation& operation, const PrintServiceSoapResponse& response) override;

#define KZ_PRINT_SERVICE_OPERATION(NAME, REPLY, KIND)                                       \
    PrintServiceSoapResponse NAME##UsingParameters(const PrintService_##NAME& parameters); \
    void NAME##AsyncUsingParameters(const PrintService_##NAME& parameters,                 \
                                    PrintServiceSoapResponseDelegate* delegate);
#include "Common/WebService/PrintServiceOperationList.h"
#undef KZ_PRINT_SERVICE_OPERATION

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex _workersLock;
    std::vector<Worker> _workers;
    std::atomic<bool> _closing{false};
    // Deliveries posted to a run loop check it: the binding may be gone.
    std::shared_ptr<int> _alive = std::make_shared<int>(0);
};

// The service's entry point: a new binding for an endpoint address.
class KZ_EXPORT PrintService {
public:
    static std::shared_ptr<ComTORVALEKZ2R4_Plugin::PrintServiceSoap> PrintServiceSoap(const std::string& address);
};

template <class Request, class Reply>
void PrintServiceSoapCall<Request, Reply>::main() {
    response = PrintServiceSoapResponse{};
    binding->sendHTTPCallUsingBody(parameters.envelope(), "", *this);
}

#define KZ_PRINT_SERVICE_OPERATION(NAME, REPLY, KIND) \
    using PrintServiceSoap_##NAME = PrintServiceSoapCall<PrintService_##NAME, PrintService_##REPLY>;
#include "Common/WebService/PrintServiceOperationList.h"
#undef KZ_PRINT_SERVICE_OPERATION

}  // namespace ComTORVALEKZ2R4_Plugin
