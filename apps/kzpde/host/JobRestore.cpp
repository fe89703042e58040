#include "host/JobRestore.h"

#include <algorithm>
#include <cstdlib>

#include "host/HostPpd.h"
#include "platform/printing/PrintingCalls.h"

// libcups marks the PPD interface deprecated; the host's PPD is still how
// the dialog knows an option's default.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzpde {

namespace {

// The scheduler writes a boolean choice as "true"/"false"; a PPD names it
// "True"/"False".
std::string ppdChoice(const std::string& value) {
    if (value == "true") return "True";
    if (value == "false") return "False";
    return value;
}

bool isCustomEntry(const std::string& name) { return kz::PrintSettings::isCustomEntryKey(name); }

}  // namespace

bool JobRestore::isPanelOrPpdName(const std::string& name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return (c >= 'A' && c <= 'Z') || c == '.'; });
}

kz::PrintSettings JobRestore::settingsFor(const kz::JobRecord& job) {
    kz::PrintSettings settings;
    for (const kz::JobRecord::Option& option : job.options) {
        if (option.name == kz::JobRecord::kThroughPanel || option.name.size() > 255) continue;
        if (isCustomEntry(option.name)) {
            settings.setValue(option.name, kz::Value(option.value));
        } else if (option.name == "copies") {
            const long copies = std::strtol(option.value.c_str(), nullptr, 10);
            if (copies >= 1 && copies <= 9999) settings.setValue(kz::PrintSettings::kCopiesKey, kz::Value(copies));
        } else if (option.name == "Collate" || option.name == "collate") {
            kz::PMSetCollate(&settings, ppdChoice(option.value) != "False");
        } else if (option.name == "sides") {
            const int mode = option.value == "two-sided-long-edge"    ? kz::PrintSettings::kDuplexNoTumble
                             : option.value == "two-sided-short-edge" ? kz::PrintSettings::kDuplexTumble
                                                                      : kz::PrintSettings::kDuplexNone;
            kz::PMSetDuplex(&settings, mode);
        } else if (isPanelOrPpdName(option.name)) {
            // The host marks it when the printer's PPD has that choice and
            // says which ones it left out.
            settings.setValue(HostPpd::kSettingsKeyPrefix + option.name, kz::Value(ppdChoice(option.value)));
        }
    }
    return settings;
}

JobRestore::Completion JobRestore::completion(const kz::JobRecord& job, const kz::JobOptions& saved,
                                              const HostPpd* hostPpd, const std::string& released) {
    Completion done;
    for (const kz::JobOptions::Option& option : saved.options()) {
        // The scheduler takes a password when a job is made, never later.
        // The queue's own hold comes with the destination's defaults; the
        // release decides the hold.
        if (option.name == "job-hold-until") continue;
        // So do the queue's other defaults (number-up, finishings, ...):
        // the job has its own, which the application may have chosen.
        if (!isPanelOrPpdName(option.name) && option.name != "copies" && option.name != "sides" && job.option(option.name))
            continue;
        if (option.kind == kz::JobOptions::Kind::password) {
            done.notes.push_back("the secure-print password cannot be added to a job after it was sent; it is left out");
            continue;
        }
        done.set.set(option.name, option.value, option.kind);
    }
    ppd_file_t* ppd = hostPpd ? hostPpd->file() : nullptr;
    for (const kz::JobRecord::Option& option : job.options) {
        if (done.set.find(option.name)) continue;
        if (isCustomEntry(option.name)) {
            done.remove.push_back(option.name);
        } else if (ppd_option_t* ppdOption = ppd ? ppdFindOption(ppd, option.name.c_str()) : nullptr) {
            // Left at its default in the panel: the job must not keep what
            // the application chose before.
            if (ppdChoice(option.value) != ppdOption->defchoice)
                done.set.set(option.name, ppdOption->defchoice, kz::JobOptions::Kind::typed);
        }
    }
    done.set.set(kz::JobRecord::kThroughPanel, released, kz::JobOptions::Kind::text);
    return done;
}

}  // namespace kzpde
