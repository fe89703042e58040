// kzpde view NAME|FILE [--bundle DIR] [--screenshot DIR] [--script FILE]: a
// view description, or the option controls of a control description file,
// in a real window.
#include <QApplication>
#include <QTimer>

#include <filesystem>
#include <ostream>

#include "BundleLocation.h"
#include "Command.h"
#include "DescriptionFile.h"
#include "Common/Util/TDWindowController.h"
#include "engine/controls/QuillUI.h"
#include "engine/rules/QuillMgr.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "qt/QtHost.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr const char* kUsage = "usage: kzpde view NAME|FILE [--bundle DIR] [--screenshot DIR] [--script FILE]\n";
constexpr double kControlWidth = 440, kControlHeight = 40;

struct Ready : kzp::NetworkDataState {
    bool isInitializedNetworkData() const override { return true; }
};

int run(kzpde::Invocation& inv) {
    kzpde::QtHostOptions options;
    std::vector<std::string> args = inv.args;
    if (!kzpde::QtHost::takeOptions(args, options)) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
    std::string name, bundlePath = kzpde::BundleLocation::path();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--bundle" && i + 1 < args.size()) bundlePath = args[++i];
        else if (name.empty() && !args[i].empty() && args[i][0] != '-') name = args[i];
        else {
            inv.err << kUsage;
            return kzpde::kUsage;
        }
    }
    if (name.empty()) {
        inv.err << kUsage;
        return kzpde::kUsage;
    }
    auto bundle = kz::Bundle::open(bundlePath);
    std::string path = name;
    std::error_code ec;
    if (name.find('/') == std::string::npos && !std::filesystem::exists(name, ec))
        path = bundle ? bundle->pathForResource(name, "plist") : std::string();
    if (path.empty()) {
        inv.err << "kzpde view: no view description '" << name << "' in " << bundlePath << "\n";
        return kzpde::kFailure;
    }
    std::string error;
    const kz::Value root = kz::PropertyList::readFile(path, &error);
    if (!root.isDictionary()) {
        inv.err << "kzpde view: " << path << ": " << (error.empty() ? "not a dictionary" : error) << "\n";
        return kzpde::kFailure;
    }

    kzp::QuillMgr mgr;
    Ready ready;
    std::optional<kzpde::DescriptionFile> controls;
    std::shared_ptr<kz::Window> window;
    if (root.dictionary().contains("window") || root.dictionary().contains("view")) {
        kzp::TDWindowController::registerWindowClasses();
        kzp::QuillUI::registerViewClass();
        kzp::QuillTextField::registerViewClasses();
        auto loaded = kz::ViewLoader::load(root, nullptr, &error);
        if (!loaded) {
            inv.err << "kzpde view: " << error << "\n";
            return kzpde::kFailure;
        }
        window = loaded->window;
        if (!window) {
            const kz::Rect f = loaded->view->frame();
            window = std::make_shared<kz::Window>(kz::Rect(0, 0, f.size.width, f.size.height));
            loaded->view->setFrameOrigin({0, 0});
            window->setContentView(loaded->view);
        }
    } else {
        // A control description: its option controls, one under the other, with their rules.
        controls = kzpde::DescriptionFile::open(path, &error);
        if (!controls) {
            inv.err << "kzpde view: " << path << ": " << error << "\n";
            return kzpde::kFailure;
        }
        mgr.setNetworkDataState(&ready);
        if (controls->bundle()) mgr.setPdeResourcePath(controls->bundlePath());
        std::vector<std::shared_ptr<kzp::QuillUI>> built;
        double height = 20;
        for (const auto& [key, entry] : controls->entries()) {
            if (!entry.isDictionary()) continue;
            // Built once to learn the height its layout asks for, then at that height.
            double h = controls->build(entry.dictionary(), kControlWidth, kControlHeight)->getControlHeight();
            if (!(h > 0) || h > 2000) h = kControlHeight;
            built.push_back(controls->build(entry.dictionary(), kControlWidth, h));
            height += h;
        }
        window = std::make_shared<kz::Window>(kz::Rect(0, 0, kControlWidth + 20, height));
        double y = height - 10;
        for (auto& c : built) {
            y -= c->frame().size.height;
            c->setFrameOrigin({10, y});
            window->contentView().addSubview(c);
            mgr.addControl(c);
        }
        mgr.setDefaults();
    }
    if (window->title().empty()) window->setTitle(std::filesystem::path(path).stem().string());

    kzpde::QtHost host(options, bundle);
    if (!host.start("view", inv.err)) return kzpde::kFailure;
    window->center();
    kz::qt::QtBridge::shared().show(*window);
    int status = kzpde::kOk;
    // Closing the window (the kit lets it go) ends the command.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window->isVisible()) host.quit(status);
    });
    watch.start(100);
    host.run([&](bool ok) {
        if (!ok) {
            for (const auto& p : host.problems()) inv.err << "kzpde view: script: " << p << "\n";
            status = kzpde::kFailure;
        }
        host.quit(status);
    });
    if (controls)
        for (const auto& [key, list] : mgr.getControlsDictionary())
            inv.out << key << " = \"" << mgr.getStringValue(key).value_or("") << "\""
                    << (list.front()->isEnabled() ? "" : " disabled") << (list.front()->isHidden() ? " hidden" : "") << "\n";
    for (const auto& shot : host.screenshots()) inv.out << "screenshot: " << shot << "\n";
    kz::qt::QtBridge::shared().forget(*window);
    return status;
}

const kzpde::Command::Registration registration{{
    "view",
    "a view description, or a control description's controls, in a window (Qt)",
    "usage: kzpde view NAME|FILE [--bundle DIR] [--screenshot DIR] [--script FILE]\n\n"
    "Shows a view description (a name among the bundle's resources, or a\n"
    "file), or the option controls of a control description file with their\n"
    "rules running, in a window; questions come up as message boxes. For a\n"
    "control description the options' values are printed at the end.\n"
    "--screenshot and --script as for kzpde dialog; the command ends when the\n"
    "window closes, the script ends, or the screenshots are written.\n",
    run,
}};

}  // namespace
