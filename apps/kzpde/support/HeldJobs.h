#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/printing/JobOptions.h"
#include "platform/printing/JobRecord.h"
#include "support/ProductQueues.h"

namespace kzpde {

// The user's jobs on the product's queues, over IPP on the scheduler the
// environment names: which are held, and what completing one does to it
// (its options written, released, or cancelled).
//
// A job is held for the panel when its product queue holds every job, it
// is held until released, and it has not been through the panel: the queue
// held it when it came, or the backend held it when it was released
// without the panel. A job that went through the panel and is held again
// was held by someone, for something else.
class HeldJobs {
public:
    struct Held {
        kz::JobRecord job;
        bool forPanel = false;
    };

    // Why a job is no job to complete; each is exit status 2.
    enum class Refusal { none, noSuchJob, notYours, notHeld, notProductQueue };
    struct Looked {
        std::optional<Held> held;
        Refusal refusal = Refusal::none;
        std::string why;  // the message, when refused or when the scheduler failed
    };

    explicit HeldJobs(std::string bundlePath) : _bundlePath(std::move(bundlePath)) {}

    // The user's held jobs of every product queue, oldest first; nullopt
    // with the reason in *error when the scheduler cannot be asked.
    std::optional<std::vector<Held>> list(std::string* error);
    // The ids of the user's held jobs on any queue, in one request (what
    // an agent polls for); nullopt with the reason when the scheduler
    // cannot be asked.
    static std::optional<std::vector<int>> heldJobIds(std::string* error);
    // Job ID, when it is the user's held job on a product queue.
    Looked look(int id);

    // Sets the options on held job ID (Set-Job-Attributes, as `lp -i ID
    // -o ...` does), with the attributes in REMOVE deleted; the reason in
    // *error when refused.
    static bool write(int id, const kz::JobOptions& options, const std::vector<std::string>& remove, std::string* error);
    static bool release(int id, std::string* error);
    static bool cancel(int id, std::string* error);

    // The mark of a job that went through the panel (JobRecord::kThroughPanel,
    // the time now) and no hold: for a job the panel made itself (`kzpde
    // print`, the dialog's Print), which a queue holding jobs for the panel
    // must not hold again.
    static void markThroughPanel(kz::JobOptions& options);
    // The mark's value: the UTC time now, ISO 8601.
    static std::string markValue();

    // Whether the queue's default holds jobs.
    static bool holdsJobs(const ProductQueues::Listed& queue) { return !queue.hold.empty() && queue.hold != "no-hold"; }
    static bool isForPanel(const kz::JobRecord& job, const ProductQueues::Listed& queue);

private:
    std::string _bundlePath;
};

}  // namespace kzpde
