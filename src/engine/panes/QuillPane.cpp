#include "engine/panes/QuillPane.h"

#include <filesystem>

#include "engine/controls/QuillTextField.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/View.h"
#include "platform/kit/ViewLoader.h"

namespace ComTORVALEKZ2R4_Plugin {

QuillPane::QuillPane() = default;
QuillPane::~QuillPane() = default;

bool QuillPane::initializePanel(const std::shared_ptr<kz::Bundle>& bundle, PanePlugInMgr* callback) {
    if (!bundle || !callback) return false;
    _bundle = bundle;
    _callback = callback;
    // The view descriptions name the engine's own classes.
    QuillUI::registerViewClass();
    QuillTextField::registerViewClasses();
    std::string path = bundle->pathForResource("UI", "plist");
    if (path.empty()) {
        kz::Log::format("### ## %s: no control description file", bundle->path().c_str());
        return false;
    }
    std::string error;
    kz::Value descriptions = kz::PropertyList::readFile(path, &error);
    if (!descriptions.isDictionary()) {
        kz::Log::format("### ## %s: %s", path.c_str(), error.empty() ? "not a dictionary" : error.c_str());
        return false;
    }
    _descriptions = descriptions.dictionary();
    return true;
}

std::optional<std::string> QuillPane::role() const { return _callback ? _callback->roleName(this) : std::nullopt; }

std::string QuillPane::bundleKey() const {
    std::string name = _bundle ? std::filesystem::path(_bundle->path()).stem().string() : std::string();
    auto r = role();
    return r ? name + "+" + *r : name;
}

std::string QuillPane::viewFileName() const {
    std::string name = _bundle ? std::filesystem::path(_bundle->path()).stem().string() : std::string();
    auto r = role();
    return r ? name + "_" + *r : name;
}

std::shared_ptr<kz::View> QuillPane::panelView() {
    if (_view || _viewTried || !_bundle || !_callback) return _view;
    _viewTried = true;
    std::string path = _bundle->pathForResource(viewFileName(), "plist");
    if (path.empty()) {
        kz::Log::format("### ## %s: no view description %s.plist", _bundle->path().c_str(), viewFileName().c_str());
        return nullptr;
    }
    std::string error;
    auto loaded = kz::ViewLoader::loadFile(path, nullptr, &error);
    if (!loaded || !loaded->view) {
        kz::Log::format("### ## %s: %s", path.c_str(), error.c_str());
        return nullptr;
    }
    _view = loaded->view;
    PanePlugInMgr::Controls found = _callback->getQuillUIControls(_view.get());
    _callback->setupQuillUIControls(&found, &_descriptions, &_controls, _bundle);
    _callback->buildPaneUi(*this, _bundle);
    didLoadView();
    return _view;
}

std::string QuillPane::panelName() {
    std::string key = bundleKey();
    return _bundle ? _bundle->localizedString(key, key, "UI") : key;
}

std::vector<std::shared_ptr<QuillUI>> QuillPane::getListQuillUI() {
    std::vector<std::shared_ptr<QuillUI>> list;
    for (const auto& [key, control] : _controls) list.push_back(control);
    return list;
}

std::shared_ptr<QuillUI> QuillPane::control(std::string_view mainKeyword) const {
    for (const auto& [key, control] : _controls)
        if (key == mainKeyword) return control;
    return nullptr;
}

}  // namespace ComTORVALEKZ2R4_Plugin
