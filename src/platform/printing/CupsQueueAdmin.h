#pragma once

#include <cups/cups.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

// Makes, changes, lists and deletes the queues of a CUPS scheduler over IPP
// as lpadmin does, on the connection the caller passes (CUPS_HTTP_DEFAULT:
// the scheduler that CUPS_SERVER or cupsSetServer names, a remote one too).
class KZ_EXPORT CupsQueueAdmin {
public:
    // What CUPS-Add-Modify-Printer sets; what is absent stays as it is.
    struct Settings {
        std::optional<std::string> deviceURI;
        std::optional<std::string> info;  // printer-info, the description
        // Idle and accepting jobs (lpadmin -E), or stopped and rejecting.
        std::optional<bool> enabled;
        // Further printer attributes as `lpadmin -o NAME=VALUE` sends them
        // ("job-hold-until-default=indefinite", "auth-info-required=...").
        std::vector<std::pair<std::string, std::string>> attributes;
    };

    // A queue as CUPS-Get-Printers gives it.
    struct Queue {
        std::string name;
        std::string deviceURI;
        std::string makeAndModel;  // the PPD's model name
        std::string holdUntil;     // job-hold-until-default, "no-hold" unset
    };

    // The scheduler may ask for a password to change queues: asked on the
    // terminal as lpadmin does, and left unanswered when standard input is
    // no terminal (a script must not hang on a question nobody sees).
    static void askPasswordsOnTerminalOnly();

    // CUPS-Add-Modify-Printer for QUEUE with SETTINGS and, when given, the
    // file at PPD_PATH as its PPD (the request's document, as lpadmin -P
    // sends it). False with the scheduler's reason in *error.
    static bool addModify(http_t* http, const std::string& queue, const Settings& settings,
                          const std::optional<std::string>& ppdPath, std::string* error);
    // CUPS-Delete-Printer. False with the scheduler's reason in *error.
    static bool remove(http_t* http, const std::string& queue, std::string* error);
    // Whether the scheduler has a queue or class of that name (any case).
    // nullopt with the reason when it could not be asked.
    static std::optional<bool> exists(http_t* http, const std::string& queue, std::string* error);
    // Every queue (no classes), sorted by name. nullopt with the reason when
    // the scheduler could not be asked.
    static std::optional<std::vector<Queue>> queues(http_t* http, std::string* error);
};

}  // namespace kz
