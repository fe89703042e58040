#include "support/HeldJobs.h"

#include <cups/cups.h>

#include <algorithm>
#include <memory>
#include <ctime>
#include <string_view>

namespace kzpde {

namespace {

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

std::string lastError() {
    const char* reason = cupsLastErrorString();
    return reason && *reason ? reason : ippErrorString(cupsLastError());
}

std::string uriOf(const char* kind, const std::string& name) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/%s/%s", kind,
                     name.c_str());
    return uri;
}

ipp_t* jobRequest(ipp_op_t op, int id) {
    ipp_t* request = ippNewRequest(op);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uriOf("jobs", std::to_string(id)).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

bool done(ipp_t* request, std::string* error) {
    Ipp answer(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/jobs/"));
    if (cupsLastError() <= IPP_STATUS_OK_CONFLICTING) return true;
    if (error) *error = lastError();
    return false;
}

const ProductQueues::Listed* find(const std::vector<ProductQueues::Listed>& queues, const std::string& name) {
    auto it = std::find_if(queues.begin(), queues.end(), [&](const auto& q) { return q.name == name; });
    return it == queues.end() ? nullptr : &*it;
}

}  // namespace

std::string HeldJobs::markValue() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

void HeldJobs::markThroughPanel(kz::JobOptions& options) {
    options.set(kz::JobRecord::kThroughPanel, markValue(), kz::JobOptions::Kind::text);
    options.set("job-hold-until", "no-hold", kz::JobOptions::Kind::typed);
}

bool HeldJobs::isForPanel(const kz::JobRecord& job, const ProductQueues::Listed& queue) {
    return holdsJobs(queue) && job.heldIndefinitely() && !job.throughPanel();
}

std::optional<std::vector<HeldJobs::Held>> HeldJobs::list(std::string* error) {
    const auto queues = ProductQueues::productQueues(_bundlePath, error);
    if (!queues) return std::nullopt;
    std::vector<Held> out;
    for (const ProductQueues::Listed& queue : *queues) {
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uriOf("printers", queue.name).c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        ippAddBoolean(request, IPP_TAG_OPERATION, "my-jobs", 1);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
        Ipp answer(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
        if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
            if (error) *error = queue.name + ": " + lastError();
            return std::nullopt;
        }
        for (kz::JobRecord& job : kz::JobRecord::readAll(answer.get())) {
            // my-jobs asks for the user's own; the name is checked still,
            // as a scheduler may answer with more.
            if (!job.held() || job.user != cupsUser() || job.queue != queue.name) continue;
            const bool forPanel = isForPanel(job, queue);
            out.push_back({std::move(job), forPanel});
        }
    }
    std::sort(out.begin(), out.end(), [](const Held& a, const Held& b) { return a.job.id < b.job.id; });
    return out;
}

std::optional<std::vector<int>> HeldJobs::heldJobIds(std::string* error) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddBoolean(request, IPP_TAG_OPERATION, "my-jobs", 1);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
    const char* wanted[] = {"job-id", "job-state"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    Ipp answer(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        if (error) *error = lastError();
        return std::nullopt;
    }
    // Each job's group ends at a separator (or the answer's end), its
    // attributes in any order.
    std::vector<int> ids;
    int id = 0;
    bool held = false;
    auto endOfJob = [&] {
        if (id > 0 && held) ids.push_back(id);
        id = 0, held = false;
    };
    for (ipp_attribute_t* a = ippFirstAttribute(answer.get()); a; a = ippNextAttribute(answer.get())) {
        const char* name = ippGetName(a);
        if (!name) endOfJob();
        else if (std::string_view(name) == "job-id") id = ippGetInteger(a, 0);
        else if (std::string_view(name) == "job-state") held = ippGetInteger(a, 0) == IPP_JSTATE_HELD;
    }
    endOfJob();
    return ids;
}

HeldJobs::Looked HeldJobs::look(int id) {
    Looked looked;
    Ipp answer(cupsDoRequest(CUPS_HTTP_DEFAULT, [&] {
        ipp_t* request = jobRequest(IPP_OP_GET_JOB_ATTRIBUTES, id);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
        return request;
    }(), "/jobs/"));
    const std::string job = "job " + std::to_string(id);
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
        looked.refusal = Refusal::noSuchJob, looked.why = job + ": no such job";
        return looked;
    }
    if (cupsLastError() == IPP_STATUS_ERROR_FORBIDDEN || cupsLastError() == IPP_STATUS_ERROR_NOT_AUTHORIZED) {
        looked.refusal = Refusal::notYours, looked.why = job + ": not your job";
        return looked;
    }
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        looked.why = job + ": the scheduler cannot tell: " + lastError();
        return looked;
    }
    std::string error;
    std::optional<kz::JobRecord> record = kz::JobRecord::read(answer.get(), &error);
    if (!record) {
        looked.why = job + ": " + error;
        return looked;
    }
    // A scheduler that keeps the owner private shows it to the owner only.
    if (record->user != cupsUser()) {
        looked.refusal = Refusal::notYours, looked.why = job + ": not your job";
        return looked;
    }
    const auto queues = ProductQueues::productQueues(_bundlePath, &error);
    if (!queues) {
        looked.why = job + ": the scheduler cannot list its queues: " + error;
        return looked;
    }
    const ProductQueues::Listed* queue = find(*queues, record->queue);
    if (!queue) {
        looked.refusal = Refusal::notProductQueue, looked.why = job + ": " + record->queue + " is no KZ Print Server queue";
        return looked;
    }
    if (!record->held()) {
        looked.refusal = Refusal::notHeld, looked.why = job + ": not held";
        return looked;
    }
    const bool forPanel = isForPanel(*record, *queue);
    looked.held = Held{std::move(*record), forPanel};
    return looked;
}

bool HeldJobs::write(int id, const kz::JobOptions& options, const std::vector<std::string>& remove, std::string* error) {
    ipp_t* request = jobRequest(IPP_OP_SET_JOB_ATTRIBUTES, id);
    options.addTo(request);
    for (const std::string& name : remove)
        ippAddOutOfBand(request, IPP_TAG_JOB, IPP_TAG_DELETEATTR, name.c_str());
    return done(request, error);
}

bool HeldJobs::release(int id, std::string* error) { return done(jobRequest(IPP_OP_RELEASE_JOB, id), error); }

bool HeldJobs::cancel(int id, std::string* error) { return done(jobRequest(IPP_OP_CANCEL_JOB, id), error); }

}  // namespace kzpde
