#pragma once

#include <cups/ipp.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

// One job of a CUPS scheduler as its Get-Jobs or Get-Job-Attributes answer
// tells it: who sent it where, its state and hold, and the options it
// carries (what the application or `lp -o` chose, the panel's entries).
// The answer is outside input: every text is bounded and checked, and a job
// without a usable id or queue is no record.
class KZ_EXPORT JobRecord {
public:
    // The attribute a completion in the panel writes into a job, so that
    // the queue's backend knows the job went through the panel.
    static constexpr const char* kThroughPanel = "kzpde-through-panel";
    // Bounds of what is read; more makes the record refused.
    static constexpr std::size_t kMaxOptions = 4096;
    static constexpr std::size_t kMaxValueBytes = 64 * 1024;

    struct Option {
        std::string name;
        std::string value;  // as `lp -o` would write it back
        bool operator==(const Option&) const = default;
    };

    int id = 0;
    std::string queue;  // the last segment of job-printer-uri
    std::string title;
    std::string user;   // "" when the scheduler keeps it private
    ipp_jstate_t state = IPP_JSTATE_PENDING;
    std::string holdUntil;              // job-hold-until, "" when none
    std::vector<std::string> reasons;   // job-state-reasons
    std::int64_t created = 0;           // time-at-creation, seconds since 1970
    std::vector<Option> options;

    // The first job of an answer; nullopt with the reason in *error when it
    // has none, or it is beyond the bounds or has no id or queue.
    static std::optional<JobRecord> read(ipp_t* answer, std::string* error = nullptr);
    // Every job of a Get-Jobs answer; a job beyond the bounds is skipped,
    // counted in *skipped.
    static std::vector<JobRecord> readAll(ipp_t* answer, std::size_t* skipped = nullptr);

    const Option* option(const std::string& name) const;
    bool held() const { return state == IPP_JSTATE_HELD; }
    // Held until released (not for a time of day, not for a password).
    bool heldIndefinitely() const { return held() && holdUntil == "indefinite"; }
    bool throughPanel() const { return option(kThroughPanel) != nullptr; }
    // The creation time as "YYYY-MM-DDTHH:MM:SSZ", "" when unknown.
    std::string createdText() const;

    // True for the attributes a scheduler keeps about a job rather than
    // options of it (job-id, job-state, time-at-creation, ...).
    static bool isDescription(const std::string& name);
};

}  // namespace kz
