#include "platform/printing/MemoryPrinter.h"

#include <utility>

#include "platform/foundation/Bundle.h"

namespace kz {

MemoryPrinter::MemoryPrinter(std::string name, std::optional<std::string> deviceURI,
                             std::optional<std::string> ppdPath)
    : _name(std::move(name)), _deviceURI(std::move(deviceURI)), _ppdPath(std::move(ppdPath)) {}

std::shared_ptr<MemoryPrinter> MemoryPrinter::sample(const Bundle& bundle) {
    std::string ppd = bundle.pathForResource("KZPrintServer", "ppd");
    return std::make_shared<MemoryPrinter>(kSampleName, kSampleDeviceURI,
                                           ppd.empty() ? std::nullopt : std::optional<std::string>(ppd));
}

OSStatus MemoryPrinter::sendCommand(const std::string& command, const std::string& jobTitle, const Dictionary*) {
    _commands.push_back({command, jobTitle});
    return kNoErr;
}

}  // namespace kz
