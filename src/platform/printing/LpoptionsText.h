#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// The few things read from an lpoptions file's text besides what libcups
// makes of it: which destination its "Default" line names, and its lines
// for queues the scheduler does not list now, which libcups drops when it
// writes the file. Lines are read as libcups reads them: a first word
// "Dest" or "Default" (any case), then "QUEUE[/INSTANCE]", then options.
class KZ_EXPORT LpoptionsText {
public:
    // The destination the last "Default" line names ("QUEUE" or
    // "QUEUE/INSTANCE"); empty when there is none.
    static std::string defaultDestination(std::string_view text);
    // The "Dest" and "Default" lines whose queue KNOWN answers false for,
    // verbatim, each ending with a newline; other lines are left out.
    static std::string linesOfOtherQueues(std::string_view text,
                                          const std::function<bool(std::string_view queue)>& known);
};

}  // namespace kz
