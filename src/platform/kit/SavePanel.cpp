#include "platform/kit/SavePanel.h"

#include <algorithm>

#include "platform/kit/Application.h"
#include "platform/kit/UiDriver.h"

namespace kz {

namespace {
bool hasExtension(const std::string& path, const std::vector<std::string>& types) {
    auto slash = path.find_last_of('/');
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string ext = path.substr(dot + 1);
    return std::find(types.begin(), types.end(), ext) != types.end();
}
}  // namespace

long SavePanel::runModal() {
    _paths.clear();
    UiDriver* driver = Application::shared().driver();
    makeKeyAndOrderFront();
    auto chosen = driver ? driver->chooseFiles(*this) : std::nullopt;
    orderOut();
    if (!chosen || chosen->empty()) return ModalResponseCancel;
    _paths = std::move(*chosen);
    if (auto* open = dynamic_cast<OpenPanel*>(this); open && !open->allowsMultipleSelection()) _paths.resize(1);
    if (!isOpenPanel() && !_types.empty() && !hasExtension(_paths.front(), _types)) _paths.front() += "." + _types.front();
    return ModalResponseOK;
}

}  // namespace kz
