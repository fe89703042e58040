#include "host/PlugInHost.h"

namespace kzpde {

PlugInHost::~PlugInHost() {
    _panel.reset();
    _plugIn.reset();
}

bool PlugInHost::load(const std::string& bundlePath, std::string* error) {
    _bundle = kz::Bundle::open(bundlePath);
    if (!_bundle) {
        if (error) *error = "no plug-in bundle at " + bundlePath;
        return false;
    }
    std::string reason;
    // The factory hands out its principal object as a kz::PDEPlugIn*.
    void* object = _bundle->principalObject(&reason);
    if (!object) {
        if (error) *error = bundlePath + ": " + (reason.empty() ? "the bundle has no principal object" : reason);
        return false;
    }
    _plugIn.reset(static_cast<kz::PDEPlugIn*>(object));
    if (!_plugIn->initWithBundle(_bundle)) {
        if (error) *error = bundlePath + ": the plug-in refused its bundle";
        _plugIn.reset();
        return false;
    }
    return true;
}

std::shared_ptr<kz::PDEPanel> PlugInHost::panelFor(std::shared_ptr<kz::PDEHostCallback> host, std::string* error) {
    if (!_plugIn) {
        if (error) *error = "no plug-in is loaded";
        return nullptr;
    }
    auto panels = _plugIn->PDEPanelsForType(kz::PDEPlugIn::kPrintDialogExtensionType, std::move(host));
    if (!panels || panels->empty() || !panels->front()) {
        if (error) *error = _bundle->path() + ": the plug-in offers no print dialog panel";
        return nullptr;
    }
    _panel = panels->front();
    return _panel;
}

}  // namespace kzpde
