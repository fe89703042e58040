#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/printing/JobOptions.h"
#include "platform/printing/JobRecord.h"
#include "platform/printing/PrintSettings.h"
#include "support/HeldJobs.h"

namespace kzpde {

class HostPpd;

// One held job completed through a print dialog, the steps every way of
// completing shares (`kzpde release`, the agent's window): find the job and
// check it is one to complete, give the dialog its options, and once the
// panel saved write the result into the job and release it, or cancel it.
// Messages go to ERR naming COMMAND; the statuses are the tool's.
class HeldJobCompletion {
public:
    explicit HeldJobCompletion(std::string bundlePath) : _jobs(std::move(bundlePath)) {}

    // The id in "ID" or "QUEUE-ID"; 0 when TEXT is neither.
    static int jobId(const std::string& text);

    // 0 when job ID is the user's held job on a product queue; 2 (the job
    // untouched) when it is not, or does not exist; 1 when the scheduler
    // cannot tell.
    int look(int id, const std::string& command, std::ostream& err);
    // Takes a job already looked up (the agent's list).
    void take(HeldJobs::Held held) { _held = std::move(held); }
    const kz::JobRecord& job() const { return _held->job; }
    bool forPanel() const { return _held->forPanel; }
    // The print settings the dialog restores for the job.
    kz::PrintSettings settings() const;

    struct Done {
        int status = 0;
        kz::JobOptions written;
        std::vector<std::string> removed;
    };
    // Writes what the panel saved (SAVED, on the dialog's PPD) into the job
    // and releases it; status 1 with the reason when the scheduler refuses
    // (the job stays held).
    Done complete(const kz::JobOptions& saved, const HostPpd* ppd, const std::string& command, std::ostream& err);
    int cancel(const std::string& command, std::ostream& err);

private:
    HeldJobs _jobs;
    std::optional<HeldJobs::Held> _held;
};

}  // namespace kzpde
