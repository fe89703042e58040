#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Fetches server lists from one print server for the tool's commands
// (listing, refreshing a queue, adding one), under one deadline for the whole
// run, telling each list that did not come and why.
//
// The lists are asked one after another, each call given what is left of the
// deadline: a server that stops answering uses the deadline once, not once
// per list, and the lists still unasked when it has passed fail as timed out
// without a connection. One reply at a time, each of at most kMaxReplyBytes,
// keeps the memory bounded whatever the server sends.
class KZ_EXPORT ServerListFetch {
public:
    static constexpr double kDefaultDeadline = 60.0;
    // The most one list can carry into a PPD is far below this; no real list
    // comes near it.
    static constexpr std::size_t kMaxReplyBytes = 16u << 20;

    struct Failure {
        std::string list;
        std::string reason;  // WebServiceClient::lastReason's words
    };
    struct Result {
        // The lists that came whole, in the order asked.
        std::vector<std::pair<std::string, WebServiceClient::Rows>> lists;
        std::vector<Failure> failures;
        bool complete() const { return failures.empty(); }
    };

    explicit ServerListFetch(std::string server, int port = WebServiceClient::kServicePort);
    // Seconds the whole fetch may take (kDefaultDeadline unless set).
    void setDeadline(double seconds) { _deadline = seconds; }

    // The lists NAMES (query names; all of them when empty).
    Result fetch(std::vector<std::string> names = {}) const;

    // "HOST:PORT", as a report names the server.
    std::string serverName() const;
    // "LIST from HOST:PORT: REASON", one line of a report.
    std::string describe(const Failure& failure) const;

private:
    std::string _server;
    int _port;
    double _deadline = kDefaultDeadline;
};

}  // namespace ComTORVALEKZ2R4_Plugin
