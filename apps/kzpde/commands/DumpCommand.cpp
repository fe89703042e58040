// kzpde dump VIEWFILE [--bundle DIR] [--json]: a view description as the tree
// of views it makes.
#include <filesystem>
#include <iostream>

#include "BundleLocation.h"
#include "Command.h"
#include "JsonValue.h"
#include "Common/Util/TDWindowController.h"
#include "engine/controls/QuillTextField.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/View.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"

namespace {

constexpr const char* kUsage = "usage: kzpde dump VIEWFILE [--bundle DIR] [--json]\n";

int run(kzpde::Invocation& inv) {
    std::string file, bundlePath = kzpde::BundleLocation::path();
    bool json = false;
    for (std::size_t i = 0; i < inv.args.size(); ++i) {
        const std::string& a = inv.args[i];
        if (a == "--json") {
            json = true;
        } else if (a == "--bundle" && i + 1 < inv.args.size()) {
            bundlePath = inv.args[++i];
        } else if (file.empty() && !a.empty() && a[0] != '-') {
            file = a;
        } else {
            inv.err << kUsage;
            return kzpde::kUsage;
        }
    }
    if (file.empty()) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
    // A bare name is a description among the bundle's resources.
    std::string path = file;
    std::error_code ec;
    if (file.find('/') == std::string::npos && !std::filesystem::exists(file, ec)) {
        auto bundle = kz::Bundle::open(bundlePath);
        path = bundle ? bundle->pathForResource(file, "plist") : std::string();
        if (path.empty()) {
            inv.err << "kzpde dump: no view description '" << file << "' in " << bundlePath << "\n";
            return kzpde::kFailure;
        }
    }
    // Panels and panes place option controls and the engine's text fields.
    ComTORVALEKZ2R4_Plugin::TDWindowController::registerWindowClasses();
    // Window classes of the plug-in's own (the version panel) come from its
    // library, loaded as a host loads it: the bundle's, or the tool's own
    // plug-in for a bundle without one (a source tree). Without either such
    // a description fails to load with the class named.
    for (const std::string& library : {bundlePath, kzpde::BundleLocation::path()}) {
        auto plugIn = kz::Bundle::open(library);
        using RegisterFn = void (*)();
        if (!plugIn || !plugIn->load()) continue;
        if (auto registerClasses = reinterpret_cast<RegisterFn>(plugIn->symbol("kzBundleRegisterViewClasses"))) {
            registerClasses();
            break;
        }
    }
    ComTORVALEKZ2R4_Plugin::QuillUI::registerViewClass();
    ComTORVALEKZ2R4_Plugin::QuillTextField::registerViewClasses();
    std::string error;
    auto result = kz::ViewLoader::loadFile(path, nullptr, &error);
    if (!result) {
        inv.err << "kzpde dump: " << error << "\n";
        return kzpde::kFailure;
    }
    if (json) {
        kz::Value tree = result->window ? kz::ViewDump::toValue(*result->window) : kz::ViewDump::toValue(*result->view);
        inv.out << kzpde::jsonText(kzpde::toJson(tree)) << "\n";
    } else {
        inv.out << (result->window ? kz::ViewDump::dump(*result->window) : kz::ViewDump::dump(*result->view));
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "dump",
    "show the views a view description makes, as text or JSON",
    "usage: kzpde dump VIEWFILE [--bundle DIR] [--json]\n\n"
    "Loads VIEWFILE, a view description (a property list with a \"window\" or a\n"
    "\"view\"), or the description of that name among the bundle's resources\n"
    "(the built plug-in unless --bundle is given; \"About\" is About.plist), and\n"
    "prints one line per view: class, frame [x y width height] and what it shows.\n"
    "With --json the same tree as JSON. Outlets stay unconnected and actions\n"
    "unanswered: nothing owns the views.\n",
    run,
}};

}  // namespace
