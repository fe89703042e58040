#include "platform/printing/CupsJob.h"

#include <fstream>
#include <functional>

namespace kz {

namespace {

std::string lastError(const std::string& what) {
    const char* reason = cupsLastErrorString();
    return what + ": " + (reason && *reason ? reason : ippErrorString(cupsLastError()));
}

// A job or document name as IPP takes it: at most 255 bytes, cut between
// characters, control characters as spaces. A longer name (a typed name of
// 255 non-ASCII characters) would make the scheduler refuse the whole job.
std::string nameValue(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    constexpr std::size_t kMax = 255;
    if (out.size() > kMax) {
        std::size_t cut = kMax;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
        out.resize(cut);
    }
    return out;
}

// Create-Job with the options as they are, not through libcups' text
// parsing, so no value can be split or re-typed on the way.
CupsJob::Submitted createJob(http_t* http, const std::string& queue, const std::string& title,
                             const JobOptions& options) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, nameValue(title).c_str());
    options.addTo(request);
    std::string resource = "/printers/" + queue;
    ipp_t* response = cupsDoRequest(http, request, resource.c_str());
    CupsJob::Submitted result;
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        result.error = lastError("the job was refused");
    } else if (ipp_attribute_t* id = ippFindAttribute(response, "job-id", IPP_TAG_INTEGER)) {
        result.id = ippGetInteger(id, 0);
    } else {
        result.error = "the scheduler gave the job no id";
    }
    ippDelete(response);
    return result;
}

using Writer = std::function<bool(http_t*, std::string*)>;

CupsJob::Submitted send(http_t* http, const std::string& queue, const std::string& title, const JobOptions& options,
                        const char* format, const Writer& write) {
    CupsJob::Submitted job = createJob(http, queue, title, options);
    if (!job) return job;
    std::string error;
    bool ok = cupsStartDocument(http, queue.c_str(), job.id, nameValue(title).c_str(), format, 1) == HTTP_STATUS_CONTINUE;
    if (!ok) error = lastError("the document was refused");
    if (ok && !write(http, &error)) ok = false;
    if (ok && cupsFinishDocument(http, queue.c_str()) != IPP_STATUS_OK) {
        ok = false;
        error = lastError("the document was refused");
    }
    if (!ok) {
        cupsCancelJob2(http, queue.c_str(), job.id, 0);
        return {0, error};
    }
    return job;
}

// One value of an attribute whose values have a plain form; nullopt for
// the others (collections, dates, ranges, resolutions).
std::optional<Value> plainValue(ipp_attribute_t* attribute, int index) {
    switch (ippGetValueTag(attribute)) {
        case IPP_TAG_INTEGER:
        case IPP_TAG_ENUM: return Value(ippGetInteger(attribute, index));
        case IPP_TAG_BOOLEAN: return Value(ippGetBoolean(attribute, index) != 0);
        case IPP_TAG_TEXT:
        case IPP_TAG_NAME:
        case IPP_TAG_TEXTLANG:
        case IPP_TAG_NAMELANG:
        case IPP_TAG_KEYWORD:
        case IPP_TAG_URI:
        case IPP_TAG_URISCHEME:
        case IPP_TAG_CHARSET:
        case IPP_TAG_LANGUAGE:
        case IPP_TAG_MIMETYPE: {
            const char* text = ippGetString(attribute, index, nullptr);
            return Value(text ? text : "");
        }
        default: return std::nullopt;
    }
}

Value attributeValue(ipp_attribute_t* attribute) {
    int count = ippGetCount(attribute);
    if (plainValue(attribute, 0)) {
        if (count == 1) return *plainValue(attribute, 0);
        Array values;
        for (int i = 0; i < count; ++i) values.push_back(*plainValue(attribute, i));
        return Value(std::move(values));
    }
    std::string text(ippAttributeString(attribute, nullptr, 0) + 1, '\0');
    ippAttributeString(attribute, text.data(), text.size());
    text.resize(text.size() - 1);
    return Value(text);
}

}  // namespace

CupsJob::Submitted CupsJob::submit(http_t* http, const std::string& queue, const std::string& path,
                                   const std::string& title, const JobOptions& options, const char* format) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {0, "cannot open " + path};
    return send(http, queue, title, options, format, [&](http_t* connection, std::string* error) {
        char buffer[32 * 1024];
        while (in) {
            in.read(buffer, sizeof buffer);
            std::streamsize n = in.gcount();
            if (n > 0 && cupsWriteRequestData(connection, buffer, static_cast<std::size_t>(n)) != HTTP_STATUS_CONTINUE) {
                *error = lastError("the document could not be sent");
                return false;
            }
        }
        if (in.bad()) {
            *error = "cannot read " + path;
            return false;
        }
        return true;
    });
}

CupsJob::Submitted CupsJob::submitData(http_t* http, const std::string& queue, const std::string& data,
                                       const std::string& title, const JobOptions& options, const char* format) {
    return send(http, queue, title, options, format, [&](http_t* connection, std::string* error) {
        if (cupsWriteRequestData(connection, data.data(), data.size()) == HTTP_STATUS_CONTINUE) return true;
        *error = lastError("the document could not be sent");
        return false;
    });
}

std::optional<Dictionary> CupsJob::attributes(http_t* http, int id, std::string* error) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d", id);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    ipp_t* response = cupsDoRequest(http, request, "/jobs/");
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        if (error) *error = lastError("no attributes of job " + std::to_string(id));
        ippDelete(response);
        return std::nullopt;
    }
    Dictionary out;
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        const char* name = ippGetName(a);
        if (!name || ippGetGroupTag(a) != IPP_TAG_JOB) continue;
        out.set(name, attributeValue(a));
    }
    ippDelete(response);
    return out;
}

}  // namespace kz
