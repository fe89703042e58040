#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Export.h"
#include "platform/printing/PDEPlugIn.h"

namespace ComTORVALEKZ2R4_Plugin {

// The principal object of the plug-in bundle, made by the factory its
// library exports and handed to the host, which owns it. It offers one
// panel, and only for the print dialog extension type.
class KZ_EXPORT KemoPDEPlugIn : public kz::PDEPlugIn {
public:
    KemoPDEPlugIn() = default;
    ~KemoPDEPlugIn() override;
    KemoPDEPlugIn(const KemoPDEPlugIn&) = delete;
    KemoPDEPlugIn& operator=(const KemoPDEPlugIn&) = delete;

    // Keeps a shared reference to the bundle; true.
    bool initWithBundle(std::shared_ptr<kz::Bundle> bundle) override;
    // One new panel for kPrintDialogExtensionType, nullopt for any other
    // type. Every panel shares the bundle.
    std::optional<std::vector<std::shared_ptr<kz::PDEPanel>>> PDEPanelsForType(
        const std::string& type, std::shared_ptr<kz::PDEHostCallback> host) override;

    const std::shared_ptr<kz::Bundle>& plugInBundle() const { return _plugInBundle; }

private:
    std::shared_ptr<kz::Bundle> _plugInBundle;
};

}  // namespace ComTORVALEKZ2R4_Plugin
