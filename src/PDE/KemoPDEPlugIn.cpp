#include "PDE/KemoPDEPlugIn.h"

#include <utility>

#include "engine/dialogs/Quill_AboutPanel.h"
#include "PDE/KemoPDEByCocoa.h"

namespace ComTORVALEKZ2R4_Plugin {

KemoPDEPlugIn::~KemoPDEPlugIn() = default;

bool KemoPDEPlugIn::initWithBundle(std::shared_ptr<kz::Bundle> bundle) {
    _plugInBundle = std::move(bundle);
    return true;
}

std::optional<std::vector<std::shared_ptr<kz::PDEPanel>>> KemoPDEPlugIn::PDEPanelsForType(
    const std::string& type, std::shared_ptr<kz::PDEHostCallback> host) {
    std::optional<std::vector<std::shared_ptr<kz::PDEPanel>>> panels;
    if (type == kPrintDialogExtensionType) {
        panels.emplace();
        if (auto panel = KemoPDEByCocoa::initWithCallback(std::move(host), _plugInBundle))
            panels->push_back(std::move(panel));
    }
    // The bundle stays: a host that asks again gets a panel that finds its
    // resources as the first one did.
    return panels;
}

}  // namespace ComTORVALEKZ2R4_Plugin

// The factory kz::Bundle looks up in the plug-in's library: a new principal
// object, owned by the caller and handed over as a kz::PDEPlugIn*, that shares
// the bundle object it was made from (when that one is held by a shared
// pointer, as Bundle::open makes it).
extern "C" KZ_EXPORT void* kzBundlePrincipalObject(kz::Bundle* bundle) {
    auto* plugIn = new ComTORVALEKZ2R4_Plugin::KemoPDEPlugIn();
    plugIn->initWithBundle(bundle ? bundle->weak_from_this().lock() : nullptr);
    return static_cast<kz::PDEPlugIn*>(plugIn);
}

// Registers the window and view classes that only the plug-in's library
// has, for a tool that loads the bundle's view descriptions without a panel.
extern "C" KZ_EXPORT void kzBundleRegisterViewClasses() {
    ComTORVALEKZ2R4_Plugin::Quill_AboutPanel::registerWindowClass();
}
