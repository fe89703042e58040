#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Export.h"
#include "platform/printing/PDEHostCallback.h"
#include "platform/printing/PDEPanel.h"

namespace kz {

// The principal object of a print-dialog plug-in bundle: what the bundle's
// factory (Bundle::principalObject) returns, as a PDEPlugIn*, owned by the
// host. The host never links a plug-in; it opens the bundle and talks through
// this interface and PDEPanel only.
class KZ_EXPORT PDEPlugIn {
public:
    // The panel type of a print dialog extension.
    static constexpr const char* kPrintDialogExtensionType = "BDB091F4-E57F-11D3-B5CC-0050E4603277";

    virtual ~PDEPlugIn();

    virtual bool initWithBundle(std::shared_ptr<Bundle> bundle) = 0;
    // The panels for a panel type, or nullopt (not an empty list) for a type
    // the plug-in does not offer.
    virtual std::optional<std::vector<std::shared_ptr<PDEPanel>>> PDEPanelsForType(
        const std::string& type, std::shared_ptr<PDEHostCallback> host) = 0;
};

}  // namespace kz
