#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/printing/PDEHostCallback.h"
#include "platform/printing/PDEPanel.h"
#include "platform/printing/PDEPlugIn.h"

namespace kzpde {

// Loads a print-dialog plug-in as a print dialog does: opens its bundle,
// takes the principal object from the bundle's library and asks it for the
// panels of a print dialog extension. Nothing of the plug-in is linked into
// the host; it is reached through the printing layer's interfaces only.
class PlugInHost {
public:
    PlugInHost() = default;
    // The panel goes before the principal object that made it.
    ~PlugInHost();
    PlugInHost(const PlugInHost&) = delete;
    PlugInHost& operator=(const PlugInHost&) = delete;

    // False with the reason in *error: no bundle there, no library or
    // factory in it, or a principal object that refused the bundle.
    bool load(const std::string& bundlePath, std::string* error);
    // The plug-in's first panel for the print dialog extension type, made
    // with the host's callback object; nullptr (reason in *error) when the
    // plug-in offers none.
    std::shared_ptr<kz::PDEPanel> panelFor(std::shared_ptr<kz::PDEHostCallback> host, std::string* error);

    const std::shared_ptr<kz::Bundle>& bundle() const { return _bundle; }
    const std::shared_ptr<kz::PDEPanel>& panel() const { return _panel; }
    kz::PDEPlugIn* plugIn() const { return _plugIn.get(); }

    // Lets the panel go (before the host's objects it was given).
    void releasePanel() { _panel.reset(); }

private:
    std::shared_ptr<kz::Bundle> _bundle;
    std::unique_ptr<kz::PDEPlugIn> _plugIn;
    std::shared_ptr<kz::PDEPanel> _panel;
};

}  // namespace kzpde
