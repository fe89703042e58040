// kzpde view: a view description, or the option controls of a control
// description file, in a real window.
#include <QApplication>
#include <QTimer>

#include <filesystem>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "support/DescriptionFile.h"
#include "Common/DialogBase/TDWindowController.h"
#include "engine/controls/QuillUI.h"
#include "engine/rules/QuillMgr.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"
#include "platform/qt/QtBridge.h"
#include "cli/qt/QtHost.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr double kControlWidth = 440, kControlHeight = 40;

struct Options {
    kzpde::QtHostOptions qt;
    std::string name, bundlePath;
};

struct Ready : kzp::NetworkDataState {
    bool isInitializedNetworkData() const override { return true; }
};

// One run: the description read, the window it makes (with the rule
// manager of its controls for a control description), shown until it
// closes, the script ends or the screenshots are written.
class ViewRun {
public:
    ViewRun(const Options& o, kzpde::Invocation& inv) : _o(o), _inv(inv) {}

    int run() {
        _bundle = kz::Bundle::open(_o.bundlePath);
        if (int status = read()) return status;
        const bool isView = _root.dictionary().contains("window") || _root.dictionary().contains("view");
        if (int status = isView ? loadView() : buildControls()) return status;
        if (_window->title().empty()) _window->setTitle(std::filesystem::path(_path).stem().string());
        return show();
    }

private:
    int fail(const std::string& message) {
        _inv.err << "kzpde view: " << message << "\n";
        return kzpde::kFailure;
    }

    // A bare name is a description among the bundle's resources.
    int read() {
        _path = _o.name;
        std::error_code ec;
        if (_o.name.find('/') == std::string::npos && !std::filesystem::exists(_o.name, ec))
            _path = _bundle ? _bundle->pathForResource(_o.name, "plist") : std::string();
        if (_path.empty()) return fail("no view description '" + _o.name + "' in " + _o.bundlePath);
        std::string error;
        _root = kz::PropertyList::readFile(_path, &error);
        if (!_root.isDictionary()) return fail(_path + ": " + (error.empty() ? "not a dictionary" : error));
        return kzpde::kOk;
    }

    int loadView() {
        kzp::TDWindowController::registerWindowClasses();
        kzp::QuillUI::registerViewClass();
        kzp::QuillTextField::registerViewClasses();
        std::string error;
        auto loaded = kz::ViewLoader::load(_root, nullptr, &error);
        if (!loaded) return fail(error);
        _window = loaded->window;
        if (!_window) {
            const kz::Rect f = loaded->view->frame();
            _window = std::make_shared<kz::Window>(kz::Rect(0, 0, f.size.width, f.size.height));
            loaded->view->setFrameOrigin({0, 0});
            _window->setContentView(loaded->view);
        }
        return kzpde::kOk;
    }

    // A control description: its option controls, one under the other, with their rules.
    int buildControls() {
        std::string error;
        _controls = kzpde::DescriptionFile::open(_path, &error);
        if (!_controls) return fail(_path + ": " + error);
        _mgr.setNetworkDataState(&_ready);
        if (_controls->bundle()) _mgr.setPdeResourcePath(_controls->bundlePath());
        std::vector<std::shared_ptr<kzp::QuillUI>> built;
        double height = 20;
        for (const auto& [key, entry] : _controls->entries()) {
            if (!entry.isDictionary()) continue;
            // Built once to learn the height its layout asks for, then at that height.
            double h = _controls->build(entry.dictionary(), kControlWidth, kControlHeight)->getControlHeight();
            if (!(h > 0) || h > 2000) h = kControlHeight;
            built.push_back(_controls->build(entry.dictionary(), kControlWidth, h));
            height += h;
        }
        _window = std::make_shared<kz::Window>(kz::Rect(0, 0, kControlWidth + 20, height));
        double y = height - 10;
        for (auto& c : built) {
            y -= c->frame().size.height;
            c->setFrameOrigin({10, y});
            _window->contentView().addSubview(c);
            _mgr.addControl(c);
        }
        _mgr.setDefaults();
        return kzpde::kOk;
    }

    int show() {
        kzpde::QtHost host(_o.qt, _bundle);
        if (!host.start("view", _inv.err)) return kzpde::kFailure;
        _window->center();
        kz::qt::QtBridge::shared().show(*_window);
        int status = kzpde::kOk;
        // Closing the window (the kit lets it go) ends the command.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!_window->isVisible()) host.quit(status);
        });
        watch.start(100);
        host.run([&](bool ok) {
            if (!ok) {
                for (const auto& p : host.problems()) _inv.err << "kzpde view: script: " << p << "\n";
                status = kzpde::kFailure;
            }
            host.quit(status);
        });
        if (_controls) writeValues();
        for (const auto& shot : host.screenshots()) _inv.out << "screenshot: " << shot << "\n";
        kz::qt::QtBridge::shared().forget(*_window);
        return status;
    }

    void writeValues() {
        for (const auto& [key, list] : _mgr.getControlsDictionary())
            _inv.out << key << " = \"" << _mgr.getStringValue(key).value_or("") << "\""
                     << (list.front()->isEnabled() ? "" : " disabled") << (list.front()->isHidden() ? " hidden" : "")
                     << "\n";
    }

    const Options& _o;
    kzpde::Invocation& _inv;
    std::shared_ptr<kz::Bundle> _bundle;
    std::string _path;
    kz::Value _root;
    kzp::QuillMgr _mgr;
    Ready _ready;
    std::optional<kzpde::DescriptionFile> _controls;
    std::shared_ptr<kz::Window> _window;
};

const kzpde::Command::Registration registration{{
    "view",
    "a view description, or a control description's controls, in a window (Qt)",
    "Shows a view description (a name among the bundle's resources, or a\n"
    "file), or the option controls of a control description file with their\n"
    "rules running, in a window; questions come up as message boxes. For a\n"
    "control description the options' values are printed at the end.\n"
    "--screenshot and --script as for kzpde dialog; the command ends when the\n"
    "window closes, the script ends, or the screenshots are written.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option("NAME|FILE", o->name, "a description file, or the name of one among the bundle's resources")
            ->required();
        kzpde::DeclaredOptions::bundle(app, o->bundlePath);
        kzpde::QtHost::declareOptions(app, o->qt);
        return [o](kzpde::Invocation& inv) { return ViewRun(*o, inv).run(); };
    },
}};

}  // namespace
