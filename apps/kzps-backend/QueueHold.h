// Whether the queue a job runs on holds every job until it is completed in
// the panel: its job-hold-until-default, asked of the scheduler that runs
// the backend (cupsd names itself in CUPS_SERVER).
#pragma once

#include <optional>
#include <string>

namespace kzps {

class QueueHold {
public:
    // The attribute `kzpde release` and the agent write into a job they
    // completed in the panel; a job without it has not been through it.
    static constexpr const char* kThroughPanel = "kzpde-through-panel";

    // True when PRINTER's default holds jobs; nullopt with the reason in
    // *error when the scheduler cannot be asked.
    static std::optional<bool> holdsJobs(const std::string& printer, std::string* error);
};

}  // namespace kzps
