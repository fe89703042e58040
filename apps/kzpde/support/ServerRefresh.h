#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>

namespace kzpde {

// Keeps a CUPS queue's server lists current: fetches every list from the
// print server, writes them and the time of the fetch into a copy of the
// queue's PPD (ServerListsFetch), and installs that PPD into the queue
// through the scheduler (CUPS-Add-Modify-Printer with the PPD as the
// request's file, as `lpadmin -P` does).
//
// All or nothing: the PPD is installed only when every list came and the
// written PPD reads back; any failure before that leaves the queue as it
// was, so a network fault never replaces good lists with empty ones. The
// lists are fetched under one deadline; every list that did not come is
// told with its reason.
class ServerRefresh {
public:
    struct Request {
        std::string printer;                // "queue" or "queue/instance"
        std::optional<std::string> server;  // else from the device address
        int port = 0;                       // 0: the device address's service port
        double timeout = 60.0;              // seconds for fetching all lists
    };

    // Tells on OUT what was done and on ERR why not; 0 done, 1 failure
    // (the queue keeps its PPD).
    static int run(const Request& request, std::ostream& out, std::ostream& err);

    // At most this many print servers are asked at once by runAll.
    static constexpr std::size_t kFetchesAtOnce = 4;
    // Every product queue of the scheduler (as `queue list` finds them with
    // the bundle at BUNDLE_PATH), each from the print server of its own
    // device address, the fetches side by side; one line per queue on OUT
    // (refreshed, unchanged, failed with the reason), the failed lists and
    // queues on ERR. 0 when every queue was refreshed or unchanged, else 1.
    static int runAll(double timeout, const std::string& bundlePath, std::ostream& out, std::ostream& err);
};

}  // namespace kzpde
