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

// A print service on 127.0.0.1 for the client's tests. It answers every
// operation from a description of one printer:
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
    explicit PrintServiceSimulator(kz::Dictionary printer);
    ~PrintServiceSimulator();

    int port() const { return _port; }
    std::string endpoint() const { return "http://127.0.0.1:" + std::to_string(_port); }

    // Switches.
    bool fault = false;             // a SOAP fault with HTTP 500
    std::string faultPrefix = "soap";
    bool brokenXml = false;         // a reply that is not XML
    double delaySeconds = 0;        // wait this long before answering
    std::string authUser;           // non-empty: Basic authentication required
    std::string authPassword;
    std::vector<std::pair<std::string, std::string>> setCookies;  // sent with every reply
    std::string rawReply;           // non-empty: answered as it is

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
    std::unique_ptr<httplib::Server> _server;
    std::thread _thread;
    int _port = 0;
    mutable std::mutex _lock;
    std::vector<Request> _requests;
};

}  // namespace kztest
