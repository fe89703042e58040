#include "platform/printing/CupsQueueAdmin.h"

#include <unistd.h>

#include <algorithm>
#include <memory>

namespace kz {

namespace {

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

std::string printerURI(const std::string& queue) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.c_str());
    return uri;
}

ipp_t* newRequest(ipp_op_t op, const std::string& queue) {
    ipp_t* request = ippNewRequest(op);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerURI(queue).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// The scheduler's reason for the last request's failure.
bool failed(std::string* error) {
    if (cupsLastError() <= IPP_STATUS_OK_CONFLICTING) return false;
    const char* reason = cupsLastErrorString();
    if (error) *error = reason && *reason ? reason : ippErrorString(cupsLastError());
    return true;
}

std::string text(ipp_t* ipp, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(ipp, name, IPP_TAG_ZERO);
    const char* value = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    return value ? value : "";
}

const char* password(const char* prompt, http_t*, const char*, const char*, void*) {
    return ::isatty(STDIN_FILENO) ? cupsGetPassword(prompt) : nullptr;
}

}  // namespace

void CupsQueueAdmin::askPasswordsOnTerminalOnly() { cupsSetPasswordCB2(password, nullptr); }

bool CupsQueueAdmin::addModify(http_t* http, const std::string& queue, const Settings& settings,
                               const std::optional<std::string>& ppdPath, std::string* error) {
    ipp_t* request = newRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, queue);
    if (settings.deviceURI)
        ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, settings.deviceURI->c_str());
    if (settings.info)
        ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-info", nullptr, settings.info->c_str());
    if (settings.enabled) {
        ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state",
                      *settings.enabled ? IPP_PSTATE_IDLE : IPP_PSTATE_STOPPED);
        ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", *settings.enabled ? 1 : 0);
    }
    // Typed by libcups as lpadmin -o types them.
    cups_option_t* options = nullptr;
    int count = 0;
    for (const auto& [name, value] : settings.attributes) count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    cupsEncodeOptions2(request, count, options, IPP_TAG_PRINTER);
    cupsFreeOptions(count, options);
    Ipp response(ppdPath ? cupsDoFileRequest(http, request, "/admin/", ppdPath->c_str())
                         : cupsDoRequest(http, request, "/admin/"));
    return !failed(error);
}

bool CupsQueueAdmin::remove(http_t* http, const std::string& queue, std::string* error) {
    Ipp response(cupsDoRequest(http, newRequest(IPP_OP_CUPS_DELETE_PRINTER, queue), "/admin/"));
    return !failed(error);
}

std::optional<bool> CupsQueueAdmin::exists(http_t* http, const std::string& queue, std::string* error) {
    ipp_t* request = newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    Ipp response(cupsDoRequest(http, request, "/"));
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) return false;
    if (failed(error)) return std::nullopt;
    return true;
}

std::optional<std::vector<CupsQueueAdmin::Queue>> CupsQueueAdmin::queues(http_t* http, std::string* error) {
    static const char* const requested[] = {"printer-name", "device-uri", "printer-make-and-model",
                                            "job-hold-until-default"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 4, nullptr, requested);
    Ipp response(cupsDoRequest(http, request, "/"));
    // A scheduler without queues answers "not found".
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) return std::vector<Queue>{};
    if (failed(error)) return std::nullopt;
    std::vector<Queue> out;
    // One group of printer attributes per queue, separated by a zero tag.
    ipp_attribute_t* a = ippFirstAttribute(response.get());
    while (a) {
        while (a && ippGetGroupTag(a) != IPP_TAG_PRINTER) a = ippNextAttribute(response.get());
        if (!a) break;
        ipp_t* group = ippNew();
        for (; a && ippGetGroupTag(a) == IPP_TAG_PRINTER; a = ippNextAttribute(response.get()))
            ippCopyAttribute(group, a, 0);
        Queue queue{text(group, "printer-name"), text(group, "device-uri"), text(group, "printer-make-and-model"),
                    text(group, "job-hold-until-default")};
        ippDelete(group);
        if (queue.holdUntil.empty()) queue.holdUntil = "no-hold";
        if (!queue.name.empty()) out.push_back(std::move(queue));
    }
    std::sort(out.begin(), out.end(), [](const Queue& l, const Queue& r) { return l.name < r.name; });
    return out;
}

}  // namespace kz
