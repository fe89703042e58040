#pragma once

#include <memory>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The principal object of the plug-in bundle, made by the factory its
// library exports and handed to the host, which owns it. It keeps the
// plug-in's bundle; the panels it will offer come later.
class KZ_EXPORT KemoPDEPlugIn {
public:
    KemoPDEPlugIn() = default;
    virtual ~KemoPDEPlugIn();
    KemoPDEPlugIn(const KemoPDEPlugIn&) = delete;
    KemoPDEPlugIn& operator=(const KemoPDEPlugIn&) = delete;

    // Keeps a shared reference to the bundle; true.
    virtual bool initWithBundle(std::shared_ptr<kz::Bundle> bundle);
    const std::shared_ptr<kz::Bundle>& plugInBundle() const { return _plugInBundle; }

private:
    std::shared_ptr<kz::Bundle> _plugInBundle;
};

}  // namespace ComTORVALEKZ2R4_Plugin
