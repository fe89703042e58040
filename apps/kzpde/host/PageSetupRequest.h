#pragma once

#include <optional>
#include <string>

namespace kzpde {

// What a person asks of the print dialog's page setup without the window
// (--paper, --pages, --orientation); checked when the dialog works it.
struct PageSetupRequest {
    std::optional<std::string> paper;        // a PageSize choice of the printer's PPD
    std::optional<std::string> pages;        // "all" or page ranges
    std::optional<std::string> orientation;  // "portrait" or "landscape"
    bool empty() const { return !paper && !pages && !orientation; }
};

}  // namespace kzpde
