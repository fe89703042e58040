#include "platform/printing/JobRecord.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <optional>
#include <string>

namespace kz {

namespace {

// A text the record keeps: well-formed UTF-8 without control characters.
bool isCleanText(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) return false;
        const std::size_t n = c < 0x80                     ? 1
                              : (c >> 5) == 0x6 && c >= 0xc2 ? 2
                              : (c >> 4) == 0xe            ? 3
                              : (c >> 3) == 0x1e && c <= 0xf4 ? 4
                                                           : 0;
        if (n == 0 || i + n > text.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return false;
        i += n;
    }
    return true;
}

// The value as `lp -o` takes it back: several values joined by commas.
// Nullopt when it does not fit the bound.
std::optional<std::string> valueText(ipp_attribute_t* attribute) {
    const std::size_t length = ippAttributeString(attribute, nullptr, 0);
    if (length > JobRecord::kMaxValueBytes) return std::nullopt;
    std::string text(length + 1, '\0');
    text.resize(std::min(ippAttributeString(attribute, text.data(), text.size()), length));
    return text;
}

std::string textOf(ipp_attribute_t* attribute) {
    const char* value = ippGetString(attribute, 0, nullptr);
    return value ? value : "";
}

using Group = std::vector<ipp_attribute_t*>;

std::optional<JobRecord> fromGroup(const Group& group, std::string* error) {
    auto fail = [&](std::string why) -> std::optional<JobRecord> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    if (group.size() > JobRecord::kMaxOptions) return fail("the job has more than " + std::to_string(JobRecord::kMaxOptions) + " attributes");
    JobRecord job;
    for (ipp_attribute_t* a : group) {
        const std::string name = ippGetName(a);
        const ipp_tag_t tag = ippGetValueTag(a);
        const bool one = ippGetCount(a) == 1;
        const bool integer = tag == IPP_TAG_INTEGER || tag == IPP_TAG_ENUM;
        if (name == "job-id" && integer && one) {
            job.id = ippGetInteger(a, 0);
        } else if (name == "job-printer-uri" && tag == IPP_TAG_URI && one) {
            const std::string uri = textOf(a);
            const std::size_t slash = uri.rfind('/');
            if (uri.find("/printers/") != std::string::npos && slash != std::string::npos) job.queue = uri.substr(slash + 1);
        } else if (name == "job-name" && one) {
            job.title = textOf(a);
        } else if (name == "job-originating-user-name" && one) {
            job.user = textOf(a);
        } else if (name == "job-state" && tag == IPP_TAG_ENUM && one) {
            const int state = ippGetInteger(a, 0);
            if (state < IPP_JSTATE_PENDING || state > IPP_JSTATE_COMPLETED) return fail("the job's state is no job state");
            job.state = static_cast<ipp_jstate_t>(state);
        } else if (name == "job-hold-until" && one) {
            job.holdUntil = textOf(a);
        } else if (name == "job-state-reasons") {
            for (int i = 0; i < ippGetCount(a); ++i)
                if (const char* reason = ippGetString(a, i, nullptr)) job.reasons.emplace_back(reason);
        } else if (name == "time-at-creation" && tag == IPP_TAG_INTEGER && one) {
            job.created = ippGetInteger(a, 0);
        }
        if (JobRecord::isDescription(name) || tag == IPP_TAG_BEGIN_COLLECTION || tag == IPP_TAG_NOVALUE ||
            tag == IPP_TAG_STRING)
            continue;
        std::optional<std::string> value = valueText(a);
        if (!value) return fail("the job's attribute \"" + name.substr(0, 64) + "\" is longer than " +
                                std::to_string(JobRecord::kMaxValueBytes) + " bytes");
        job.options.push_back({name, std::move(*value)});
    }
    for (const std::string* text : {&job.queue, &job.title, &job.user, &job.holdUntil})
        if (!isCleanText(*text) || text->size() > 1023) return fail("the job's description holds what no name may");
    for (const JobRecord::Option& option : job.options)
        if (!isCleanText(option.name) || !isCleanText(option.value))
            return fail("the job's attribute \"" + option.name.substr(0, 64) + "\" holds control characters");
    if (job.id <= 0) return fail("the job has no id");
    if (job.queue.empty()) return fail("job " + std::to_string(job.id) + " names no queue");
    return job;
}

std::vector<Group> jobGroups(ipp_t* answer) {
    std::vector<Group> groups;
    bool open = false;
    for (ipp_attribute_t* a = answer ? ippFirstAttribute(answer) : nullptr; a; a = ippNextAttribute(answer)) {
        // A separator or another group ends the job's attributes.
        if (!ippGetName(a) || ippGetGroupTag(a) != IPP_TAG_JOB) {
            open = false;
            continue;
        }
        if (!open) groups.emplace_back();
        open = true;
        groups.back().push_back(a);
    }
    return groups;
}

}  // namespace

bool JobRecord::isDescription(const std::string& name) {
    static constexpr std::array<const char*, 8> prefixes = {"job-",      "time-at-", "date-time-at-", "number-of-",
                                                            "document-", "printer-", "output-device-", "original-"};
    if (name == "job-priority" || name == "job-sheets") return false;
    return std::any_of(prefixes.begin(), prefixes.end(), [&](const char* p) { return name.rfind(p, 0) == 0; }) ||
           name == "compression" || name == "attributes-charset" || name == "attributes-natural-language";
}

std::optional<JobRecord> JobRecord::read(ipp_t* answer, std::string* error) {
    const std::vector<Group> groups = jobGroups(answer);
    if (groups.empty()) {
        if (error) *error = "the answer holds no job";
        return std::nullopt;
    }
    return fromGroup(groups.front(), error);
}

std::vector<JobRecord> JobRecord::readAll(ipp_t* answer, std::size_t* skipped) {
    std::vector<JobRecord> jobs;
    std::size_t left = 0;
    for (const Group& group : jobGroups(answer)) {
        if (auto job = fromGroup(group, nullptr)) jobs.push_back(std::move(*job));
        else ++left;
    }
    if (skipped) *skipped = left;
    return jobs;
}

const JobRecord::Option* JobRecord::option(const std::string& name) const {
    auto it = std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == name; });
    return it == options.end() ? nullptr : &*it;
}

std::string JobRecord::createdText() const {
    if (created <= 0) return "";
    const std::time_t when = static_cast<std::time_t>(created);
    std::tm utc{};
    if (!gmtime_r(&when, &utc)) return "";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace kz
