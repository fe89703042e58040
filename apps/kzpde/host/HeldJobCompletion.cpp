#include "host/HeldJobCompletion.h"

#include <ostream>

#include "host/JobRestore.h"

namespace kzpde {

int HeldJobCompletion::jobId(const std::string& text) {
    const std::size_t dash = text.rfind('-');
    const std::string digits = dash == std::string::npos ? text : text.substr(dash + 1);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(digits);
}

int HeldJobCompletion::look(int id, const std::string& command, std::ostream& err) {
    if (id <= 0) {
        err << "kzpde " << command << ": not a job id (a number, or QUEUE-NUMBER)\n";
        return 2;
    }
    HeldJobs::Looked looked = _jobs.look(id);
    if (!looked.held) {
        err << "kzpde " << command << ": " << looked.why << "\n";
        return looked.refusal == HeldJobs::Refusal::none ? 1 : 2;
    }
    _held = std::move(looked.held);
    return 0;
}

kz::PrintSettings HeldJobCompletion::settings() const { return JobRestore::settingsFor(_held->job); }

HeldJobCompletion::Done HeldJobCompletion::complete(const kz::JobOptions& saved, const HostPpd* ppd,
                                                    const std::string& command, std::ostream& err) {
    const JobRestore::Completion made = JobRestore::completion(_held->job, saved, ppd, HeldJobs::markValue());
    for (const std::string& note : made.notes) err << "kzpde " << command << ": " << note << "\n";
    Done done{0, made.set, made.remove};
    std::string error;
    const std::string job = "job " + std::to_string(_held->job.id);
    if (!HeldJobs::write(_held->job.id, made.set, made.remove, &error)) {
        err << "kzpde " << command << ": " << job << ": the scheduler did not take the panel's options: " << error
            << "; the job stays held\n";
        done.status = 1;
    } else if (!HeldJobs::release(_held->job.id, &error)) {
        err << "kzpde " << command << ": " << job << ": not released: " << error << "\n";
        done.status = 1;
    }
    return done;
}

int HeldJobCompletion::cancel(const std::string& command, std::ostream& err) {
    std::string error;
    if (HeldJobs::cancel(_held->job.id, &error)) return 0;
    err << "kzpde " << command << ": job " << _held->job.id << ": not cancelled: " << error << "\n";
    return 1;
}

}  // namespace kzpde
