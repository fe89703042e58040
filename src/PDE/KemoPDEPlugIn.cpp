#include "PDE/KemoPDEPlugIn.h"

#include <utility>

namespace ComTORVALEKZ2R4_Plugin {

KemoPDEPlugIn::~KemoPDEPlugIn() = default;

bool KemoPDEPlugIn::initWithBundle(std::shared_ptr<kz::Bundle> bundle) {
    _plugInBundle = std::move(bundle);
    return true;
}

}  // namespace ComTORVALEKZ2R4_Plugin

// The factory kz::Bundle looks up in the plug-in's library: a new principal
// object, owned by the caller, that shares the bundle object it was made
// from (when that one is held by a shared pointer, as Bundle::open makes it).
extern "C" KZ_EXPORT void* kzBundlePrincipalObject(kz::Bundle* bundle) {
    auto* plugIn = new ComTORVALEKZ2R4_Plugin::KemoPDEPlugIn();
    plugIn->initWithBundle(bundle ? bundle->weak_from_this().lock() : nullptr);
    return plugIn;
}
