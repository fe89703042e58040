#include "support/QueueListsRefresh.h"

#include <cups/cups.h>
#include <cups/ppd.h>

#include <ostream>
#include <sstream>

#include "ServerListsFetch.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/FileBytes.h"
#include "platform/printing/CupsPrinter.h"
#include "platform/printing/CupsQueueAdmin.h"
#include "platform/printing/PrintServerURI.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxPpdBytes = 64u << 20;

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};

// Whether every list the print service gives is in OLD as it is in NEW.
bool sameLists(const kz::Dictionary& old, const kz::Dictionary& fresh) {
    for (const std::string& name : kzp::WebServiceClient::queryNames())
        if (old.get(name) != fresh.get(name)) return false;
    return true;
}

}  // namespace

QueueListsRefresh::QueueListsRefresh(std::string queue, std::optional<std::string> server, int port, double timeout)
    : _queue(std::move(queue)), _givenServer(std::move(server)), _givenPort(port), _timeout(timeout) {}

QueueListsRefresh::~QueueListsRefresh() = default;

bool QueueListsRefresh::fail(std::string why, bool keptPpd) {
    _why = std::move(why);
    _keptPpd = keptPpd;
    return false;
}

std::string QueueListsRefresh::serverName() const { return _fetch ? _fetch->serverName() : _server; }

std::size_t QueueListsRefresh::listCount() const { return kzp::WebServiceClient::queryNames().size(); }

bool QueueListsRefresh::open() {
    std::string error;
    _printer = kz::CupsPrinter::open(_queue, CUPS_HTTP_DEFAULT, &error);
    if (!_printer) return fail(error, false);
    _queue = _printer->queue();
    // Nothing to keep either: the queue is left as it is.
    if (!_printer->ppdPath()) return fail("the queue " + _queue + " has no PPD to keep the lists in", false);

    // The server and its service port from the device address unless given.
    const std::string uri = _printer->deviceURI().value_or("");
    std::optional<kz::PrintServerURI> address = kz::PrintServerURI::parse(uri, &error);
    if (_givenServer) {
        _server = *_givenServer;
    } else {
        if (!address || address->host().empty())
            return fail("the device address '" + uri + "' names no print server; name one with --server");
        _server = address->host();
        _origin = " (from the device address " + uri + ")";
    }
    const int port = _givenPort > 0 ? _givenPort : address ? address->servicePort() : kz::PrintServerURI::kServicePort;
    if (kz::FileBytes::read(*_printer->ppdPath(), kMaxPpdBytes, &_ppd) != kz::FileBytes::Status::ok)
        return fail("cannot read the PPD of " + _queue);
    _fetch = std::make_unique<kzp::ServerListFetch>(_server, port);
    _fetch->setDeadline(_timeout);
    return true;
}

void QueueListsRefresh::fetch() {
    if (_fetch) _got = _fetch->fetch();
}

QueueListsRefresh::Outcome QueueListsRefresh::install(std::ostream* lists) {
    if (!_fetch || !_got) {
        if (_why.empty()) fail("the lists were not fetched");
        return Outcome::failed;
    }
    std::ostringstream dropped;
    kz::ScratchFile written;
    kz::Dictionary fresh;
    std::string error;
    if (!ServerListsFetch::write(_ppd, *_fetch, *_got, written, lists ? *lists : dropped, &error, &_failedLists,
                                 &fresh)) {
        fail(error);
        return Outcome::failed;
    }
    std::unique_ptr<ppd_file_t, PpdCloser> old(ppdOpenFile(_printer->ppdPath()->c_str()));
    const bool unchanged = old && sameLists(ServerListsFetch::listsOf(old.get()), fresh);
    // Installed even when unchanged: the time the PPD keeps is that of the
    // last fetch that came whole, so that a queue whose server stopped
    // answering shows its age.
    kz::CupsQueueAdmin::askPasswordsOnTerminalOnly();
    if (!kz::CupsQueueAdmin::addModify(CUPS_HTTP_DEFAULT, _queue, {}, written.path(), &error)) {
        fail("the scheduler refused the new PPD: " + error);
        return Outcome::failed;
    }
    return unchanged ? Outcome::unchanged : Outcome::refreshed;
}

}  // namespace kzpde
