#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Value.h"

namespace httplib {
class Server;
}

namespace kztest {

// A print service on a local address (127.0.0.1 unless given) for the
// client's tests and the tool's demonstration. It answers every operation
// from a description of one printer, normally read from a property-list file
// (resources/samples/print-server-printer.plist):
//   stackers, feeders: arrays of dictionaries (key/value pairs per entry)
//   devices: dictionary of key/value texts; customPapers: array of dictionaries
//   folders: array of texts
//   resources: dictionary from the decimal resource type to an array of dictionaries
//   stdFonts, optFonts, calibFiles, densityAdjustProfiles, userTrcProfiles,
//   deviceLinkFiles: arrays of dictionaries
//   status: dictionary from operation name to the status text to answer
// and has switches for the failures a client must survive.
class PrintServiceSimulator {
public:
    // Binds to `host` on a free port (or `port`); port() is negative when
    // that failed.
    explicit PrintServiceSimulator(kz::Dictionary printer, std::string host = "127.0.0.1", int port = 0);
    ~PrintServiceSimulator();

    // The printer description in a property-list file; an empty dictionary
    // and the reason in `error` when the file holds none.
    static kz::Dictionary readPrinter(const std::string& path, std::string* error = nullptr);

    int port() const { return _port; }
    const std::string& host() const { return _host; }
    // The URL of the service; an IPv6 host goes in brackets.
    std::string endpoint() const;

    // Switches.
    bool fault = false;             // a SOAP fault with HTTP 500
    std::string faultPrefix = "soap";
    bool brokenXml = false;         // a reply that is not XML
    double delaySeconds = 0;        // wait this long before answering
    std::string authUser;           // non-empty: Basic authentication required
    std::string authPassword;
    std::vector<std::pair<std::string, std::string>> setCookies;  // sent with every reply
    std::string rawReply;           // non-empty: answered as it is
    int httpStatus = 0;             // non-zero: answered with this status and no body

    struct Request {
        std::string body;
        std::vector<std::pair<std::string, std::string>> headers;
        std::string header(const std::string& name) const;
    };
    std::vector<Request> requests() const;

    // The reply body the simulator gives for a request body.
    std::string replyFor(const std::string& requestBody) const;

private:
    kz::Dictionary _printer;
    std::string _host;
    std::unique_ptr<httplib::Server> _server;
    std::thread _thread;
    int _port = 0;
    mutable std::mutex _lock;
    std::vector<Request> _requests;
};

}  // namespace kztest
