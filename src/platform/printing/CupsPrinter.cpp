#include "platform/printing/CupsPrinter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/ScratchFile.h"

// libcups marks its PPD interface deprecated; the PPD is still how the host
// describes its printer and holds the marked choices.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kz {

namespace {

// libcups lists these scheduler attributes among a destination's options;
// they describe the queue and are not the user's saved job options.
bool isSchedulerAttribute(const char* name) {
    return std::strncmp(name, "printer-", 8) == 0 || std::strncmp(name, "marker-", 7) == 0 ||
           std::strcmp(name, "device-uri") == 0 || std::strcmp(name, "auth-info-required") == 0;
}

std::optional<std::string> askDeviceURI(http_t* http, const std::string& queue) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "device-uri");
    ipp_t* response = cupsDoRequest(http, request, "/");
    std::optional<std::string> found;
    if (ipp_attribute_t* attribute = ippFindAttribute(response, "device-uri", IPP_TAG_URI)) {
        if (const char* text = ippGetString(attribute, 0, nullptr)) found = text;
    }
    ippDelete(response);
    return found;
}

}  // namespace

std::shared_ptr<CupsPrinter> CupsPrinter::open(const std::string& destination, http_t* http, std::string* error) {
    std::string name = destination;
    std::string instance;
    if (auto slash = destination.find('/'); slash != std::string::npos) {
        name = destination.substr(0, slash);
        instance = destination.substr(slash + 1);
    }
    cups_dest_t* dest = cupsGetNamedDest(http, name.empty() ? nullptr : name.c_str(),
                                         instance.empty() ? nullptr : instance.c_str());
    if (!dest) {
        if (error) {
            *error = destination.empty() ? std::string("there is no default printer")
                                         : "there is no printer \"" + destination + "\"";
        }
        return nullptr;
    }
    std::shared_ptr<CupsPrinter> printer(new CupsPrinter(http, dest));
    cupsFreeDests(1, dest);
    return printer;
}

CupsPrinter::CupsPrinter(http_t* http, cups_dest_t* dest)
    : _http(http), _queue(dest->name), _instance(dest->instance ? dest->instance : "") {
    if (const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options)) {
        _deviceURI = uri;
    } else {
        _deviceURI = askDeviceURI(http, _queue);
    }
    for (int i = 0; i < dest->num_options; ++i) {
        const cups_option_t& option = dest->options[i];
        if (!isSchedulerAttribute(option.name)) _savedOptions.set(option.name, option.value, JobOptions::Kind::typed);
    }
    // libcups makes the file (or a link to the scheduler's own copy when it
    // is on this machine); it is ours to remove. It loses its name at once and
    // is read through the open descriptor, so that nothing is left in the
    // temporary folder however the process ends. A queue without PPD has none.
    char path[1024] = "";
    time_t modified = 0;
    if (cupsGetPPD3(http, _queue.c_str(), &modified, path, sizeof path) == HTTP_STATUS_OK && path[0]) {
        int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        ::unlink(path);
        if (fd >= 0) {
            _ppd = std::make_unique<ScratchFile>(fd);
            _ppdPath = _ppd->path();
        }
        CrashPoint::pass();
    }
}

CupsPrinter::~CupsPrinter() = default;

std::string CupsPrinter::name() const { return _instance.empty() ? _queue : _queue + "/" + _instance; }

OSStatus CupsPrinter::sendCommand(const std::string& command, const std::string& jobTitle, const Dictionary*) {
    // One command word on one line is all a command file can carry.
    if (command.empty() || command.find_first_of("\r\n") != std::string::npos) return kPMIOErr;
    auto job = CupsJob::submitData(_http, _queue, "#CUPS-COMMAND\n" + command + "\n", jobTitle, JobOptions(),
                                   CUPS_FORMAT_COMMAND);
    return job ? kNoErr : kPMIOErr;
}

JobOptions CupsPrinter::jobOptions(const JobOptions& options) const {
    JobOptions merged = _savedOptions;
    for (const auto& option : options.options()) merged.set(option.name, option.value, option.kind);
    return merged;
}

CupsJob::Submitted CupsPrinter::print(const std::string& path, const std::string& title, const JobOptions& options,
                                      const char* format) const {
    return CupsJob::submit(_http, _queue, path, title, jobOptions(options), format);
}

}  // namespace kz
