// kzpde panes [--bundle DIR] [--json]: every pane the manager loads from the
// bundle, as the panel would load them: bundle key, role, panel name, number
// of option controls and whether its view loaded.
#include <nlohmann/json.hpp>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "support/FailureLog.h"
#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "support/PaneHost.h"
#include "engine/panes/PanePlugInMgr.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

int run(const kzpde::DeclaredOptions::FileAndJson& args, kzpde::Invocation& inv) {
    kzpde::PaneHost host;
    if (!host.open(args.bundlePath, inv.err)) return kzpde::kFailure;
    kzp::PanePlugInMgr& mgr = host.managerWithPaneViews();
    nlohmann::ordered_json panes = nlohmann::ordered_json::array();
    std::vector<std::string> keys;
    for (const auto& [key, entry] : mgr.plugInTable()) keys.push_back(key);
    for (const std::string& key : keys) {
        auto plus = key.find('+');
        auto controller = mgr.paneControllerOfBundleName(key);
        auto name = mgr.panelNameOfBundleName(key);
        bool viewLoaded = mgr.panelViewOfBundleName(key) != nullptr;
        std::size_t controls = 0;
        try {
            controls = controller ? controller->getListQuillUI().size() : 0;
        } catch (const std::exception&) {
        }
        panes.push_back({{"bundleKey", key},
                         {"role", plus == std::string::npos ? nlohmann::ordered_json(nullptr)
                                                            : nlohmann::ordered_json(key.substr(plus + 1))},
                         {"panelName", name ? nlohmann::ordered_json(*name) : nlohmann::ordered_json(nullptr)},
                         {"optionControls", controls},
                         {"viewLoaded", viewLoaded}});
    }
    kzpde::FailureLog::tell(panes.empty() ? kzpde::kFailure : kzpde::kOk, host.logLines(), inv.err, "###");
    if (args.json) {
        kzpde::writeJson(inv.out, panes);
    } else {
        for (const auto& pane : panes)
            inv.out << pane["bundleKey"].get<std::string>() << "\trole "
                    << (pane["role"].is_null() ? std::string("-") : pane["role"].get<std::string>()) << "\t\""
                    << (pane["panelName"].is_null() ? std::string() : pane["panelName"].get<std::string>()) << "\"\t"
                    << pane["optionControls"].get<std::size_t>() << " option controls\tview "
                    << (pane["viewLoaded"].get<bool>() ? "loaded" : "not loaded") << "\n";
    }
    return panes.empty() ? kzpde::kFailure : kzpde::kOk;
}

const kzpde::Command::Registration registration({
    "panes",
    "list the pane plug-ins the manager loads from the bundle",
    "Loads the pane bundles of the plug-in bundle (default: the build tree's) as the panel\n"
    "does, loads every pane's view, and lists each pane: bundle key, role, panel name,\n"
    "number of option controls, and whether its view loaded. Panes that were skipped are\n"
    "named in the log lines (the system log; standard error with --verbose, and when no\n"
    "pane loads). Exit 1 when no pane loads.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto args = kzpde::DeclaredOptions::bundleAndJson(app);
        return [args](kzpde::Invocation& inv) { return run(*args, inv); };
    },
});

}  // namespace
