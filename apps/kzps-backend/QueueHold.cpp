#include "QueueHold.h"

#include <cups/cups.h>

namespace kzps {

std::optional<bool> QueueHold::holdsJobs(const std::string& printer, std::string* error) {
    if (printer.empty()) {
        if (error) *error = "the scheduler named no queue (PRINTER)";
        return std::nullopt;
    }
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     printer.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "job-hold-until-default");
    ipp_t* answer = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        if (error) *error = cupsLastErrorString();
        ippDelete(answer);
        return std::nullopt;
    }
    ipp_attribute_t* hold = ippFindAttribute(answer, "job-hold-until-default", IPP_TAG_ZERO);
    const char* value = hold ? ippGetString(hold, 0, nullptr) : nullptr;
    const bool holds = value && *value && std::string(value) != "no-hold";
    ippDelete(answer);
    return holds;
}

}  // namespace kzps
