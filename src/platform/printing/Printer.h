#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/printing/PrintStatus.h"

namespace kz {

// One print queue as the host's print session sees it: its name, the address
// of its device, the PPD that describes it, and the commands it takes.
// MemoryPrinter and CupsPrinter are the two kinds.
class KZ_EXPORT Printer {
public:
    virtual ~Printer();

    // The queue's name ("name/instance" for an lpoptions instance).
    virtual std::string name() const = 0;
    // The device address ("ipp://host:631/...", "file:/dev/null"), or nullopt
    // when the queue has none.
    virtual std::optional<std::string> deviceURI() const = 0;
    // The path of a PPD file describing the printer, or nullopt (a queue
    // without PPD). The file lives as long as the printer object.
    virtual std::optional<std::string> ppdPath() const = 0;
    // Sends the printer a command such as "ReportLevels"; kNoErr when it was
    // taken, kPMIOErr when the printer does not take commands.
    virtual OSStatus sendCommand(const std::string& command, const std::string& jobTitle,
                                 const Dictionary* options);

protected:
    Printer() = default;
};

}  // namespace kz
