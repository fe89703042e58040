#include "engine/dialogs/AboutPanelController.h"

#include "Common/Util/BundleUtil.h"
#include "platform/foundation/Bundle.h"
#include "engine/dialogs/Quill_AboutPanel.h"
#include "platform/kit/Application.h"

namespace ComTORVALEKZ2R4_Plugin {

AboutPanelController::AboutPanelController(const std::string& descriptionPath)
    : TDWindowController(descriptionPath) {
    // The window is loaded on first use, after this.
    Quill_AboutPanel::registerWindowClass();
}

std::span<const kz::ViewOwner::Outlet> AboutPanelController::outlets() const {
    static const Outlet table[] = {
        outlet("versionField", &AboutPanelController::_versionField),
        outlet("copyrightField", &AboutPanelController::_copyrightField),
        outlet("backgroundImage", &AboutPanelController::_backgroundImage),
    };
    return table;
}

void AboutPanelController::windowDidLoad() {
    installWindowDelegate(this);
    if (const auto& host = kz::Application::shared().mainBundle(); host && _backgroundImage) {
        const kz::Value& name = host->objectForInfoDictionaryKey("VLAboutImage");
        if (name.isString()) _backgroundImage->setImage(kz::Image::named(*host, name.string()));
    }
    auto plugIn = BSPrincipalBundle();
    if (!plugIn) return;
    // A key the bundle lacks shows as empty, not as a word for nothing.
    auto info = [&](const char* key) { return plugIn->objectForInfoDictionaryKey(key).stringValue(); };
    if (_versionField)
        _versionField->setStringValue(info("CFBundleShortVersionString") + "." + info("VLBuildVersion") + " (" +
                                      info("CFBundleVersion") + ")");
    if (_copyrightField) _copyrightField->setStringValue(info("NSHumanReadableCopyright"));
}

void AboutPanelController::windowWillClose(kz::Window& w) {
    kz::Application& app = kz::Application::shared();
    if (app.modalWindow() == &w) app.stopModalWithCode(kz::ModalResponseAbort);
}

long AboutPanelController::runModalSession() {
    kz::Window* w = window();
    if (!w) return kz::ModalResponseAbort;
    w->center();
    long code = kz::Application::shared().runModalForWindow(*w);
    w->endEditingFor(nullptr);
    w->close();
    return code;
}

long AboutPanelController::runModal() {
    AboutPanelController controller;
    return controller.runModalSession();
}

}  // namespace ComTORVALEKZ2R4_Plugin
