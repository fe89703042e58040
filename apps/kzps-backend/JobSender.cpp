#include "JobSender.h"

#include <cups/cups.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

namespace kzps {

namespace {

struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

// A message for one status line: no line breaks.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

// Refusals that go away by themselves: try the job again later.
bool isPassing(ipp_status_t status) {
    return status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS || status == IPP_STATUS_ERROR_BUSY ||
           status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_TEMPORARY ||
           status == IPP_STATUS_ERROR_DEVICE;
}

}  // namespace

JobSender::JobSender(DeviceAddress address, std::ostream& status) : _address(std::move(address)), _status(status) {}

void JobSender::setCredentials(std::string user, std::string password) {
    _user = std::move(user);
    _password = std::move(password);
}

const char* JobSender::passwordCallback(const char*, http_t*, const char*, const char*, void* context) {
    auto* self = static_cast<JobSender*>(context);
    // Asked once: a second request means the password was refused.
    if (self->_password.empty()) return nullptr;
    self->_givenPassword = std::exchange(self->_password, std::string());
    return self->_givenPassword.c_str();
}

cups_backend_t JobSender::refused(ipp_status_t status, const std::string& message) {
    const std::string reason = oneLine(message.empty() ? ippErrorString(status) : message);
    if (status == IPP_STATUS_ERROR_NOT_AUTHORIZED || status == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED) {
        _status << "ATTR: auth-info-required=username,password\n";
        _status << "ERROR: The print server wants a user name and password: " << reason << "\n" << std::flush;
        return CUPS_BACKEND_AUTH_REQUIRED;
    }
    if (isPassing(status)) {
        _status << "ERROR: The print server cannot take the job now: " << reason << "\n" << std::flush;
        return CUPS_BACKEND_RETRY;
    }
    // Sending the same job again gets the same answer: the queue stops with
    // the reason and keeps the job until someone looks.
    _status << "ERROR: The print server refused the job: " << reason << "\n" << std::flush;
    return CUPS_BACKEND_STOP;
}

cups_backend_t JobSender::send(const Job& job, const JobTicket& ticket) {
    const std::string where = _address.host() + ":" + std::to_string(_address.port());
    _status << "STATE: +connecting-to-device\n" << std::flush;
    std::unique_ptr<http_t, HttpCloser> http(httpConnect2(_address.host().c_str(), _address.port(), nullptr, AF_UNSPEC,
                                                          HTTP_ENCRYPTION_IF_REQUESTED, 1, _connectTimeout * 1000,
                                                          nullptr));
    if (!http) {
        _status << "ERROR: The print server " << where << " cannot be reached: " << oneLine(cupsLastErrorString())
                << "\n"
                << "STATE: -connecting-to-device\n"
                << std::flush;
        return CUPS_BACKEND_RETRY;
    }
    _status << "STATE: -connecting-to-device\n" << std::flush;
    if (!_user.empty()) cupsSetUser(_user.c_str());
    cupsSetPasswordCB2(passwordCallback, this);

    const std::string uri = _address.printerUri();
    std::unique_ptr<ipp_t, IppDeleter> request(ippNewRequest(IPP_OP_PRINT_JOB));
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 (_user.empty() ? job.user : _user).c_str());
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                 job.format.empty() ? "application/octet-stream" : job.format.c_str());
    ticket.addTo(request.get());

    _status << "INFO: Sending the job to " << where << "\n" << std::flush;
    // A file of known size goes with its length; a stream from the filters
    // goes in chunks.
    size_t length = CUPS_LENGTH_VARIABLE;
    struct stat info {};
    if (::fstat(job.documentFd, &info) == 0 && S_ISREG(info.st_mode))
        length = ippLength(request.get()) + static_cast<size_t>(info.st_size);
    http_status_t sent = cupsSendRequest(http.get(), request.get(), _address.resource().c_str(), length);
    char buffer[64 * 1024];
    while (sent == HTTP_STATUS_CONTINUE) {
        ssize_t n = ::read(job.documentFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            _status << "ERROR: The document cannot be read: " << std::strerror(errno) << "\n" << std::flush;
            return CUPS_BACKEND_FAILED;
        }
        if (n == 0) break;
        sent = cupsWriteRequestData(http.get(), buffer, static_cast<size_t>(n));
    }
    std::unique_ptr<ipp_t, IppDeleter> response(cupsGetResponse(http.get(), _address.resource().c_str()));
    const ipp_status_t status = cupsLastError();
    if (!response && (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL)) {
        // The connection broke while sending: the server may come back.
        _status << "ERROR: The print server " << where << " broke off: " << oneLine(cupsLastErrorString()) << "\n"
                << std::flush;
        return CUPS_BACKEND_RETRY;
    }
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE) return refused(status, cupsLastErrorString());

    int remoteId = 0;
    if (ipp_attribute_t* id = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER)) remoteId = ippGetInteger(id, 0);
    _status << "INFO: The print server took the job as job " << remoteId << "\n" << std::flush;
    return CUPS_BACKEND_OK;
}

}  // namespace kzps
