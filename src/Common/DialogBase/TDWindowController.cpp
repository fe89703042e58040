#include "Common/DialogBase/TDWindowController.h"

#include "Common/Util/BundleUtil.h"
#include "Common/DialogBase/TitlelessPanel.h"
#include "platform/kit/ViewLoader.h"

namespace ComTORVALEKZ2R4_Plugin {

TDWindowController::TDWindowController(const std::string& windowName)
    : kz::WindowController(descriptionPath(windowName)) {
    registerWindowClasses();
}

std::string TDWindowController::descriptionPath(const std::string& windowName) {
    if (windowName.find('/') != std::string::npos) return windowName;
    auto bundle = BSPrincipalBundle();
    return bundle ? bundle->pathForResource(windowName, "plist") : std::string();
}

void TDWindowController::registerWindowClasses() {
    static const bool registered = [] {
        kz::ViewLoader::registerWindowClass("TitlelessPanel",
                                            [](const kz::Value&) { return std::make_shared<TitlelessPanel>(); });
        return true;
    }();
    (void)registered;
}

void TDWindowController::loadWindow() {
    // Put back when the guard dies, also when loading throws.
    kz::ViewLoader::HostAwakeGuard guard;
    kz::WindowController::loadWindow();
}

}  // namespace ComTORVALEKZ2R4_Plugin
