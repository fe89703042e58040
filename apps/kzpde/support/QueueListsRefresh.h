#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Common/WebService/ServerListFetch.h"

namespace kz {
class CupsPrinter;
}

namespace kzpde {

// One CUPS queue's server lists brought up to date, in three steps so that
// many queues can fetch at once while the scheduler is spoken to from one
// thread only: open() reads the queue and its PPD from the scheduler,
// fetch() asks the print server for every list (network only, any thread),
// install() writes the lists and the time of the fetch into a copy of the
// PPD and installs it through the scheduler.
//
// All or nothing: install() installs only when every list came and the new
// PPD reads back with them; otherwise the queue keeps the PPD it had.
class QueueListsRefresh {
public:
    enum class Outcome { refreshed, unchanged, failed };

    // SERVER empty: the host of the queue's device address; PORT 0: the
    // address's service port, else 8888.
    QueueListsRefresh(std::string queue, std::optional<std::string> server, int port, double timeout);
    ~QueueListsRefresh();
    QueueListsRefresh(const QueueListsRefresh&) = delete;
    QueueListsRefresh& operator=(const QueueListsRefresh&) = delete;

    // Opens the queue on the scheduler in use; false with the reason in
    // why() when it cannot be refreshed (no such queue, no PPD, no server).
    bool open();
    // The lists from the print server; open() must have succeeded.
    void fetch();
    // Installs what fetch() brought; tells each list's rows on LISTS (none
    // when null). unchanged: the lists are the ones the PPD had, and the PPD
    // was installed again only for the time of this fetch.
    Outcome install(std::ostream* lists);

    const std::string& queue() const { return _queue; }
    // HOST as the queue names it, and whence ("" or " (from the device
    // address URI)").
    const std::string& server() const { return _server; }
    const std::string& serverOrigin() const { return _origin; }
    // HOST:PORT, as failures name the print server.
    std::string serverName() const;
    const std::string& why() const { return _why; }
    // Whether the failure left a PPD as it was (false for a queue that does
    // not exist or has no PPD: there was nothing to keep).
    bool keptPpd() const { return _keptPpd; }
    // One line for every list that did not come.
    const std::vector<std::string>& failedLists() const { return _failedLists; }
    // The number of lists installed.
    std::size_t listCount() const;

private:
    bool fail(std::string why, bool keptPpd = true);

    std::string _queue;
    std::optional<std::string> _givenServer;
    int _givenPort;
    double _timeout;
    std::shared_ptr<kz::CupsPrinter> _printer;
    std::string _ppd;
    std::string _server, _origin, _why;
    std::unique_ptr<ComTORVALEKZ2R4_Plugin::ServerListFetch> _fetch;
    std::optional<ComTORVALEKZ2R4_Plugin::ServerListFetch::Result> _got;
    std::vector<std::string> _failedLists;
    bool _keptPpd = true;
};

}  // namespace kzpde
