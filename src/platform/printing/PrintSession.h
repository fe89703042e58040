#pragma once

#include <memory>

#include "platform/foundation/Export.h"
#include "platform/printing/Printer.h"

namespace kz {

// The host's print session: which printer the dialog prints to.
class KZ_EXPORT PrintSession {
public:
    explicit PrintSession(std::shared_ptr<Printer> printer = nullptr) : _printer(std::move(printer)) {}

    const std::shared_ptr<Printer>& currentPrinter() const { return _printer; }
    void setCurrentPrinter(std::shared_ptr<Printer> printer) { _printer = std::move(printer); }

private:
    std::shared_ptr<Printer> _printer;
};

}  // namespace kz
