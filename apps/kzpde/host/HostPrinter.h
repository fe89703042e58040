#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/HostCallback.h"
#include "host/HostPpd.h"
#include "platform/foundation/Bundle.h"
#include "platform/printing/JobOptions.h"
#include "platform/printing/Printer.h"

namespace kzpde {

// The printer a print dialog prints to, its PPD as the host holds it, and
// what a job on it carries once the panel has saved: one place for every
// dialog of the tool (the headless one and the window).
class HostPrinter {
public:
    // A CUPS destination when DESTINATION is given (empty: the default
    // one), else a printer without a queue described by the PPD file PPD,
    // else the embedded sample printer of the bundle. Nullptr with the
    // reason in *error.
    static std::shared_ptr<kz::Printer> open(const std::optional<std::string>& destination,
                                             const std::optional<std::string>& ppd, const kz::Bundle& bundle,
                                             std::string* error);

    // The host's handle on the printer's PPD: nullptr in *ppd for a printer
    // without one; false (reason in *error) when its file is no PPD.
    static bool openPpd(const kz::Printer& printer, std::unique_ptr<HostPpd>* ppd, std::string* error);

    // After the panel saved: the host's marked choices go into the
    // settings, and the job's options are made from them (a CUPS
    // instance's saved options under them).
    static kz::JobOptions jobOptions(HostCallback& host);
};

}  // namespace kzpde
