// kzpde dump VIEWFILE [--bundle DIR] [--json]: a view description as the tree
// of views it makes.
#include <filesystem>
#include <iostream>

#include "support/BundleLocation.h"
#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "Common/DialogBase/TDWindowController.h"
#include "engine/controls/QuillTextField.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/Bundle.h"
#include "platform/kit/View.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"

namespace {

struct Options {
    std::string file, bundlePath;
    bool json = false;
};

int run(const Options& o, kzpde::Invocation& inv) {
    const std::string& file = o.file;
    const std::string& bundlePath = o.bundlePath;
    const bool json = o.json;
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
        kzpde::writeJson(inv.out, tree);
    } else {
        inv.out << (result->window ? kz::ViewDump::dump(*result->window) : kz::ViewDump::dump(*result->view));
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration registration{{
    "dump",
    "show the views a view description makes, as text or JSON",
    "Loads VIEWFILE, a view description (a property list with a \"window\" or a\n"
    "\"view\"), or the description of that name among the bundle's resources\n"
    "(the built plug-in unless --bundle is given; \"About\" is About.plist), and\n"
    "prints one line per view: class, frame [x y width height] and what it shows.\n"
    "With --json the same tree as JSON. Outlets stay unconnected and actions\n"
    "unanswered: nothing owns the views.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option("VIEWFILE", o->file, "a view description, or the name of one in the bundle")->required();
        kzpde::DeclaredOptions::bundle(app, o->bundlePath);
        kzpde::DeclaredOptions::json(app, o->json, "print the tree as JSON");
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace
