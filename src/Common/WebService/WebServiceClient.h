#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The numbers GetJobResourceList asks the server for, one per job-resource
// kind of the printer data ("JobResource-NOTE" is 1, ... "JobResource-
// IMPOSITION" is 8). The operation passes any number through unchanged.
enum class JobResourceType : std::int32_t {
    Note = 1,
    CustomNote = 2,
    Pagenation = 3,
    Form = 4,
    WaterMark = 5,
    Trapping = 6,
    Normalizer = 7,
    Imposition = 8,
};

// The facade over the print service: each operation makes one synchronous
// call to the server at `address` (a host name or an IP address, IPv6 with
// an optional zone index) and flattens the reply into rows of strings.
// nullopt: no address, or a host application that must not talk to servers;
// an empty list: no reply (unreachable, time-out, fault, broken reply).
class KZ_EXPORT WebServiceClient {
public:
    using Row = std::vector<std::string>;
    using Rows = std::vector<Row>;
    static constexpr int kServicePort = 8888;

    explicit WebServiceClient(int port = kServicePort) : _port(port) {}
    // Seconds a call may take (the binding's default unless set).
    void setTimeout(double seconds) { _timeout = seconds; }
    // Bytes a reply may have (the binding's default unless set).
    void setMaxReplyBytes(std::size_t bytes) { _maxReplyBytes = bytes; }

    std::optional<Rows> getStackerInfoList(const std::optional<std::string>& address) const;
    std::optional<Rows> getFeederInfoList(const std::optional<std::string>& address) const;
    std::optional<Rows> getDeviceList(const std::optional<std::string>& address) const;
    std::optional<Rows> getJobFolderList(const std::optional<std::string>& address) const;
    std::optional<Rows> getPrePostDeviceList(const std::optional<std::string>& address) const;
    std::optional<Rows> GetJobResourceList(const std::optional<std::string>& address, std::int32_t resourceType) const;
    std::optional<Rows> getFontList(const std::optional<std::string>& address) const;
    std::optional<Rows> getDeviceLinkFileList(const std::optional<std::string>& address) const;
    std::optional<Rows> getCalibFileList(const std::optional<std::string>& address) const;
    std::optional<Rows> getDensityAdjustProfileList(const std::optional<std::string>& address) const;
    std::optional<Rows> getUserTrcProfileList(const std::optional<std::string>& address) const;

    // The rows of the list a printer-data query name stands for
    // ("StackerInfoList", "JobResource-FORM", ...); nullopt for an unknown name
    // and as the operation answers otherwise.
    std::optional<Rows> listNamed(std::string_view queryName, const std::optional<std::string>& address) const;
    static const std::vector<std::string>& queryNames();
    static std::optional<JobResourceType> jobResourceType(std::string_view queryName);

    // Why the last list did not come whole: the call failed (unreachable,
    // time-out, fault, a reply that is not XML), the reply held no answer
    // to the call, or the server answered with an error status (the rows
    // before it are still returned). nullopt after a list that came whole.
    const std::optional<std::string>& lastFailure() const { return _lastFailure; }
    // The same in a few words on one line, for a person or a script: "refused",
    // "timed out", "not SOAP", "too large", "cut off", "fault: TEXT",
    // "no answer in the reply", "error status", "authentication failed", or
    // the transport's own words.
    const std::optional<std::string>& lastReason() const { return _lastReason; }

    // False inside hosts that must not send requests (Adobe Reader, Acrobat).
    bool isCommunicationPossible() const;
    // IPv6 literals go in brackets with their zone index escaped.
    static std::string convertUrlAddress(const std::string& address);
    // The print server of a printer, as kz::PrintServerURI reads its device
    // address: the host of the product's address, or of any other one the
    // host part as it stands (no percent decoding), where a host
    // "v1.<name>+<rest>" names the server "<name>%<rest>" (the first "+"
    // stands for "%") and a host "v1.<name>" the server "<name>". nullopt
    // when the address names no server.
    static std::optional<std::string> hostNameOfDeviceURI(const std::string& deviceURI);

    // The name of the application that shows the dialog: the one set here,
    // else "CFBundleName" of the application's main bundle
    // (kz::Application::mainBundle); empty when there is neither.
    static void setHostApplicationName(std::string name);
    static std::string hostApplicationName();
    // The localised text of a key: the localizer set here, else the main
    // bundle's text (the key itself without a bundle or a translation).
    static void setLocalizer(std::function<std::string(const std::string&)> localizer);

private:
    int _port;
    std::optional<double> _timeout;
    std::optional<std::size_t> _maxReplyBytes;
    mutable std::optional<std::string> _lastFailure, _lastReason;
    std::string endpoint(const std::string& address) const;
    // Notes the first reason a list did not come whole: the log's words and
    // the short reason.
    void noteFailure(std::optional<std::pair<std::string, std::string>> why) const {
        if (!why || _lastFailure) return;
        _lastFailure = std::move(why->first);
        _lastReason = std::move(why->second);
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
