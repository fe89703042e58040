#pragma once

#include <cups/cups.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

// The print queues of a CUPS scheduler as libcups lists them, lpoptions
// instances included (one entry each, after the queue they belong to).
class KZ_EXPORT CupsDestinations {
public:
    struct Destination {
        std::string name;
        // Empty for the queue itself.
        std::string instance;
        bool isDefault = false;
        std::optional<std::string> deviceURI;
        // The queue's description ("printer-info"), or empty.
        std::string info;

        // "name" or "name/instance": what CupsPrinter::open takes.
        std::string fullName() const { return instance.empty() ? name : name + "/" + instance; }
    };

    // HTTP is the scheduler's connection, or CUPS_HTTP_DEFAULT for the one
    // libcups chooses (CUPS_SERVER, cupsSetServer). Sorted by name, then
    // instance; empty when the scheduler has none or cannot be reached.
    static std::vector<Destination> list(http_t* http = CUPS_HTTP_DEFAULT);
};

}  // namespace kz
