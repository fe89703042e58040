// Sends one job to the print server over IPP (Print-Job, the document
// streamed as it is read) and says how it went the way CUPS reads a
// backend: STATE:, INFO:, ERROR: and ATTR: lines on the status stream and a
// CUPS_BACKEND_* exit status.
#pragma once

#include <cups/backend.h>

#include <ostream>
#include <string>

#include "DeviceAddress.h"
#include "JobTicket.h"

namespace kzps {

class JobSender {
public:
    struct Job {
        int id = 0;
        std::string user;
        // The document's MIME type, application/octet-stream when unknown.
        std::string format;
        // Read to its end and sent.
        int documentFd = 0;
    };

    JobSender(DeviceAddress address, std::ostream& status);

    // AUTH_USERNAME/AUTH_PASSWORD of the job, for a print server that asks.
    void setCredentials(std::string user, std::string password);
    // Seconds a connection attempt may take.
    void setConnectTimeout(int seconds) { _connectTimeout = seconds; }

    cups_backend_t send(const Job& job, const JobTicket& ticket);

private:
    static const char* passwordCallback(const char* prompt, http_t* http, const char* method, const char* resource,
                                        void* context);
    cups_backend_t refused(ipp_status_t status, const std::string& message);

    DeviceAddress _address;
    std::ostream& _status;
    std::string _user;
    std::string _password;
    // What the callback handed libcups, alive until the request is done.
    std::string _givenPassword;
    int _connectTimeout = 30;
};

}  // namespace kzps
