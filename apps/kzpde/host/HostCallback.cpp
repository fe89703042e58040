#include "host/HostCallback.h"

#include <utility>

namespace kzpde {

HostCallback::HostCallback(std::shared_ptr<kz::Printer> printer, std::unique_ptr<HostPpd> ppd)
    : _session(std::move(printer)), _ppd(std::move(ppd)) {}

HostCallback::~HostCallback() = default;

void HostCallback::changePrinter(std::shared_ptr<kz::Printer> printer, std::unique_ptr<HostPpd> ppd) {
    _session.setCurrentPrinter(std::move(printer));
    _ppd = std::move(ppd);
}

bool MarkingHostCallback::willChangePPDOptionKeyValue(const std::string& mainKeyword, const std::string& choice) {
    // A choice the PPD does not list stays unmarked: marking it would leave
    // the option without any marked choice.
    return ppd() && ppd()->mark(mainKeyword, choice);
}

}  // namespace kzpde
