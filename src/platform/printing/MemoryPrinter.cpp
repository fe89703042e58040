#include "platform/printing/MemoryPrinter.h"

#include <utility>

namespace kz {

MemoryPrinter::MemoryPrinter(std::string name, std::optional<std::string> deviceURI,
                             std::optional<std::string> ppdPath)
    : _name(std::move(name)), _deviceURI(std::move(deviceURI)), _ppdPath(std::move(ppdPath)) {}

OSStatus MemoryPrinter::sendCommand(const std::string& command, const std::string& jobTitle, const Dictionary*) {
    _commands.push_back({command, jobTitle});
    return kNoErr;
}

}  // namespace kz
