#include "platform/printing/Printer.h"

namespace kz {

Printer::~Printer() = default;

OSStatus Printer::sendCommand(const std::string&, const std::string&, const Dictionary*) { return kPMIOErr; }

}  // namespace kz
