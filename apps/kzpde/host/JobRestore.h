#pragma once

#include <string>
#include <vector>

#include "platform/printing/JobOptions.h"
#include "platform/printing/JobRecord.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

class HostPpd;

// A held job into the print dialog and back: the options the job carries
// (the application's PPD choices, the panel's custom entries, copies,
// collation, sides) as the print settings the dialog restores; and, after
// the panel saved, what the job must be set to so that it carries the
// panel's result while keeping every option the panel knows nothing of.
class JobRestore {
public:
    // The print settings a dialog saving for this job would have written.
    static kz::PrintSettings settingsFor(const kz::JobRecord& job);

    struct Completion {
        kz::JobOptions set;               // written into the job
        std::vector<std::string> remove;  // the panel's entries it no longer has
        std::vector<std::string> notes;   // what could not go into the job
    };
    // The job's new options after the panel saved: SAVED (the dialog's job
    // options),
    // every PPD option the job carried but the panel left at its default
    // set to that default, the panel's entries it dropped removed, and the
    // mark that the job went through the panel. PPD is the dialog's PPD
    // (nullptr: none); RELEASED the mark's value (when it was made).
    static Completion completion(const kz::JobRecord& job, const kz::JobOptions& saved, const HostPpd* ppd,
                                 const std::string& released);

    // True for an option name of the PPD or the panel (capitals or dots),
    // false for IPP's own lower-case names.
    static bool isPanelOrPpdName(const std::string& name);
};

}  // namespace kzpde
