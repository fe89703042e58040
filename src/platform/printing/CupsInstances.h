#pragma once

#include <cups/cups.h>

#include <string>

#include "platform/foundation/Export.h"
#include "platform/printing/JobOptions.h"

namespace kz {

// lpoptions instances ("QUEUE/NAME"): saved job options under a name of
// their own that every dialog lists and `lp -d QUEUE/NAME` prints with.
// libcups reads and writes them (cupsGetDests2/cupsSetDests2), so they read
// back as CUPS's own tools read them: root's in the server root's lpoptions,
// which every user's dialogs list, anyone else's in ~/.cups/lpoptions. The
// file is replaced all at once, and only the instance changes in it.
class KZ_EXPORT CupsInstances {
public:
    enum class Outcome { Done, NoQueue, NoInstance, Refused, Failed };

    // Makes instance NAME of QUEUE hold exactly OPTIONS (but those whose
    // value is empty, which lpoptions cannot carry), replacing what an
    // instance of that name held. A password option is refused: the file is
    // plain text (readable by everyone for root's). *error says why not Done.
    static Outcome save(http_t* http, const std::string& queue, const std::string& name, const JobOptions& options,
                        std::string* error);
    // Removes instance NAME of QUEUE.
    static Outcome remove(http_t* http, const std::string& queue, const std::string& name, std::string* error);
    // Whether NAME can be an instance name: lpoptions lines split at white
    // space, and a slash would read as part of the queue's name.
    static bool isInstanceName(const std::string& name, std::string* why = nullptr);
    // The file save and remove write: the system's for root (euid 0), the
    // home's for anyone else.
    static std::string lpoptionsPath();
};

}  // namespace kz
