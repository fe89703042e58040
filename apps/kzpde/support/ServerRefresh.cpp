#include "support/ServerRefresh.h"

#include <cups/cups.h>

#include <memory>
#include <ostream>

#include "ServerListsFetch.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/FileBytes.h"
#include "platform/printing/CupsPrinter.h"
#include "platform/printing/CupsQueueAdmin.h"
#include "platform/printing/PrintServerURI.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxPpdBytes = 64u << 20;

}  // namespace

int ServerRefresh::run(const Request& r, std::ostream& out, std::ostream& err) {
    auto fail = [&](const std::string& why) {
        err << "kzpde server refresh: " << why << "; the queue keeps its PPD\n";
        return 1;
    };
    std::string error;
    std::shared_ptr<kz::CupsPrinter> printer = kz::CupsPrinter::open(r.printer, CUPS_HTTP_DEFAULT, &error);
    if (!printer) {
        err << "kzpde server refresh: " << error << "\n";
        return 1;
    }
    const std::string queue = printer->queue();
    if (!printer->ppdPath()) {
        // Nothing to keep either: the queue is left as it is.
        err << "kzpde server refresh: the queue " << queue << " has no PPD to keep the lists in\n";
        return 1;
    }

    // The server and its service port from the device address unless given.
    const std::string uri = printer->deviceURI().value_or("");
    std::optional<kz::PrintServerURI> address = kz::PrintServerURI::parse(uri, &error);
    std::string server;
    if (r.server) {
        server = *r.server;
    } else {
        if (!address || address->host().empty())
            return fail("the device address '" + uri + "' names no print server; name one with --server");
        server = address->host();
    }
    const int port = r.port > 0 ? r.port : address ? address->servicePort() : kz::PrintServerURI::kServicePort;
    out << "print server: " << server << (r.server ? "" : " (from the device address " + uri + ")") << "\n";

    std::string ppd;
    if (kz::FileBytes::read(*printer->ppdPath(), kMaxPpdBytes, &ppd) != kz::FileBytes::Status::ok)
        return fail("cannot read the PPD of " + queue);
    kzp::ServerListFetch fetch(server, port);
    fetch.setDeadline(r.timeout);
    kz::ScratchFile written;
    std::vector<std::string> failed;
    if (!ServerListsFetch::into(ppd, fetch, written, out, &error, &failed)) {
        for (const std::string& line : failed) err << "kzpde server refresh: " << line << "\n";
        return fail(error);
    }
    kz::CupsQueueAdmin::askPasswordsOnTerminalOnly();
    if (!kz::CupsQueueAdmin::addModify(CUPS_HTTP_DEFAULT, queue, {}, written.path(), &error))
        return fail("the scheduler refused the new PPD: " + error);
    out << "installed the PPD with " << kzp::WebServiceClient::queryNames().size() << " lists into the queue " << queue
        << "\n";
    return 0;
}

}  // namespace kzpde
