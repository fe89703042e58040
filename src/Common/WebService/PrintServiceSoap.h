#pragma once

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
// libcurl; a synchronous call runs on the calling thread, so the callbacks
// arrive there. An asynchronous call runs on a thread of its own and tells
// its delegate from that thread; the binding waits for them when destroyed.
class KZ_EXPORT PrintServiceSoap : public PrintServiceSoapResponseDelegate {
public:
    explicit PrintServiceSoap(std::string address);
    ~PrintServiceSoap() override;
    PrintServiceSoap(const PrintServiceSoap&) = delete;
    PrintServiceSoap& operator=(const PrintServiceSoap&) = delete;

    std::string address;
    double defaultTimeout = 30.0;
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

#define KZ_OPERATION(NAME)                                                                                   \
    PrintServiceSoapResponse NAME##UsingParameters(const PrintService_##NAME& parameters);                   \
    void NAME##AsyncUsingParameters(const PrintService_##NAME& parameters, PrintServiceSoapResponseDelegate* delegate);
    KZ_OPERATION(getStackerInfoList)
    KZ_OPERATION(getFeederInfoList)
    KZ_OPERATION(getJobFolderList)
    KZ_OPERATION(getPrePostDeviceList)
    KZ_OPERATION(getCmsSpotGetAllListData)
    KZ_OPERATION(getSpotColorAllInfoListData)
    KZ_OPERATION(getColorSubstListData)
    KZ_OPERATION(GetJobResourceList)
    KZ_OPERATION(getCalibFileList)
    KZ_OPERATION(getDensityAdjustProfileList)
    KZ_OPERATION(getUserTrcProfileList)
    KZ_OPERATION(getFontList)
    KZ_OPERATION(getOutputProfileList)
    KZ_OPERATION(getRGBInputProfileList)
    KZ_OPERATION(getCMYKInputProfileList)
    KZ_OPERATION(getDeviceLinkFileList)
#undef KZ_OPERATION

private:
    std::mutex _threadsLock;
    std::vector<std::thread> _threads;
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

#define KZ_OPERATION_TYPE(NAME, REPLY) \
    using PrintServiceSoap_##NAME = PrintServiceSoapCall<PrintService_##NAME, PrintService_##REPLY>;
KZ_OPERATION_TYPE(getStackerInfoList, getStackerInfoListResponse)
KZ_OPERATION_TYPE(getFeederInfoList, getFeederInfoListResponse)
KZ_OPERATION_TYPE(getJobFolderList, GetJobFolderListResponse)
KZ_OPERATION_TYPE(getPrePostDeviceList, getPrePostDeviceResponse)
KZ_OPERATION_TYPE(getCmsSpotGetAllListData, getCmsSpotGetAllListDataResponse)
KZ_OPERATION_TYPE(getSpotColorAllInfoListData, getSpotColorAllInfoListDataResponse)
KZ_OPERATION_TYPE(getColorSubstListData, getColorSubstListDataResponse)
KZ_OPERATION_TYPE(GetJobResourceList, GetJobResourceListResponse)
KZ_OPERATION_TYPE(getCalibFileList, getCalibFileListResponse)
KZ_OPERATION_TYPE(getDensityAdjustProfileList, getDensityAdjustProfileListResponse)
KZ_OPERATION_TYPE(getUserTrcProfileList, getUserTrcProfileListResponse)
KZ_OPERATION_TYPE(getFontList, getFontListResponse)
KZ_OPERATION_TYPE(getOutputProfileList, getOutputProfileListResponse)
KZ_OPERATION_TYPE(getRGBInputProfileList, getRGBInputProfileListResponse)
KZ_OPERATION_TYPE(getCMYKInputProfileList, getCMYKInputProfileListResponse)
KZ_OPERATION_TYPE(getDeviceLinkFileList, getDeviceLinkFileListResponse)
#undef KZ_OPERATION_TYPE

}  // namespace ComTORVALEKZ2R4_Plugin
