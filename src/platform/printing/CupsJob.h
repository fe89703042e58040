#pragma once

#include <cups/cups.h>

#include <optional>
#include <string>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/printing/JobOptions.h"

namespace kz {

// Print jobs on a CUPS scheduler, over an explicit connection (HTTP may be
// CUPS_HTTP_DEFAULT: the scheduler that CUPS_SERVER or cupsSetServer names).
class KZ_EXPORT CupsJob {
public:
    struct Submitted {
        // The job's id, 0 when it was not taken.
        int id = 0;
        // Why it was not taken.
        std::string error;
        explicit operator bool() const { return id > 0; }
    };

    // Submits the file at PATH to queue QUEUE (a queue, not an instance)
    // as one job named TITLE carrying OPTIONS. FORMAT is the document's MIME
    // type, or CUPS_FORMAT_AUTO to let the scheduler find it out. A job whose
    // document could not be sent is cancelled, never left half-made.
    static Submitted submit(http_t* http, const std::string& queue, const std::string& path, const std::string& title,
                            const JobOptions& options, const char* format = CUPS_FORMAT_AUTO);
    // The same with the document's bytes in memory.
    static Submitted submitData(http_t* http, const std::string& queue, const std::string& data,
                                const std::string& title, const JobOptions& options, const char* format);

    // Every attribute of job ID (Get-Job-Attributes, all attributes), name
    // to value: integers, enums and booleans as such, everything else as
    // its text (a collection as "{name=value ...}"); several values as an
    // array. nullopt with the scheduler's reason when it has no such job.
    static std::optional<Dictionary> attributes(http_t* http, int id, std::string* error = nullptr);
};

}  // namespace kz
