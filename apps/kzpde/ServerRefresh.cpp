#include "ServerRefresh.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <vector>

#include "Common/WebService/PrinterData.h"
#include "Common/WebService/ServerListFetch.h"
#include "Common/WebService/WebServiceClient.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"
#include "platform/printing/CupsPrinter.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxPpdBytes = 64u << 20;

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};

// A file of our own in the temporary folder, removed with the object.
class TempFile {
public:
    TempFile() {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/kzpde-refresh-XXXXXX.ppd";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkstemps(name.data(), 4);
        if (fd >= 0) {
            ::close(fd);
            _path = name.data();
        }
    }
    ~TempFile() {
        if (!_path.empty()) ::unlink(_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return _path; }

private:
    std::string _path;
};

kz::Value rowsValue(const kzp::WebServiceClient::Rows& rows) {
    kz::Array list;
    for (const auto& row : rows) {
        kz::Array cells;
        for (const auto& cell : row) cells.emplace_back(cell);
        list.emplace_back(std::move(cells));
    }
    return kz::Value(std::move(list));
}

// The scheduler may ask for a password to change a queue: asked on the
// terminal as lpadmin does, and left unanswered when the input is no
// terminal (a script must not hang on a question nobody sees).
const char* password(const char* prompt, http_t*, const char*, const char*, void*) {
    return ::isatty(STDIN_FILENO) ? cupsGetPassword(prompt) : nullptr;
}

// CUPS-Add-Modify-Printer for QUEUE with the file at PPD_PATH as its PPD.
bool install(const std::string& queue, const std::string& ppdPath, std::string* error) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s", queue.c_str());
    cupsSetPasswordCB2(password, nullptr);
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippDelete(cupsDoFileRequest(CUPS_HTTP_DEFAULT, request, "/admin/", ppdPath.c_str()));
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        *error = std::string("the scheduler refused the new PPD: ") + cupsLastErrorString();
        return false;
    }
    return true;
}

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

    std::string server;
    const std::string uri = printer->deviceURI().value_or("");
    if (r.server) {
        server = *r.server;
    } else {
        std::optional<std::string> host = kzp::WebServiceClient::hostNameOfDeviceURI(uri);
        if (!host || host->empty())
            return fail("the device address '" + uri + "' names no print server; name one with --server");
        server = *host;
    }
    out << "print server: " << server << (r.server ? "" : " (from the device address " + uri + ")")
        << "\n";

    kzp::WebServiceClient::setHostApplicationName("kzpde");
    std::string ppd;
    if (kz::FileBytes::read(*printer->ppdPath(), kMaxPpdBytes, &ppd) != kz::FileBytes::Status::ok)
        return fail("cannot read the PPD of " + queue);
    kzp::ServerListFetch fetch(server, r.port > 0 ? r.port : kzp::WebServiceClient::kServicePort);
    fetch.setDeadline(r.timeout);
    kzp::ServerListFetch::Result got = fetch.fetch();
    if (!got.complete()) {
        for (const auto& failure : got.failures) err << "kzpde server refresh: " << fetch.describe(failure) << "\n";
        return fail(std::to_string(got.failures.size()) + " of " + std::to_string(kzp::WebServiceClient::queryNames().size()) +
                    " lists did not come");
    }
    kz::Dictionary lists;
    for (const auto& [name, rows] : got.lists) {
        out << "  " << name << ": " << rows.size() << (rows.size() == 1 ? " row" : " rows") << "\n";
        lists.set(name, rowsValue(rows));
        ppd = kzp::PrinterData::embed(ppd, name, kz::PropertyList::toXml(lists.get(name)));
    }

    // What goes to the scheduler must carry every list as fetched.
    TempFile written;
    if (written.path().empty() || !kz::AtomicFile::write(written.path(), ppd, &error))
        return fail("cannot write the new PPD" + (error.empty() ? "" : ": " + error));
    std::unique_ptr<ppd_file_t, PpdCloser> check(ppdOpenFile(written.path().c_str()));
    if (!check) return fail(std::string("the new PPD does not read: ") + ppdErrorString(ppdLastError(nullptr)));
    for (const auto& [name, list] : lists) {
        std::optional<std::string> bytes = kzp::PrinterData::read(check.get(), name);
        if (!bytes || kz::PropertyList::read(*bytes) != list) {
            const std::size_t size = kz::PropertyList::toXml(list).size();
            return fail("the new PPD does not carry the list " + name +
                        (size > kzp::PrinterData::kMaxCapacity
                             ? " (" + std::to_string(size) + " bytes as a property list, more than the panel reads)"
                             : std::string()));
        }
    }
    if (!install(queue, written.path(), &error)) return fail(error);
    out << "installed the PPD with " << lists.size() << " lists into the queue " << queue << "\n";
    return 0;
}

}  // namespace kzpde
