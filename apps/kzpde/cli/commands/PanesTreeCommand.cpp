// kzpde panes tree [--bundle DIR] [--json]: the panes tree as the manager
// resolves it against the panes it loaded.
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
using ordered_json = nlohmann::ordered_json;

namespace {

constexpr int kMaxDepth = 64;

ordered_json paneJson(kzp::PanePlugInMgr& mgr, const std::string& bundleName) {
    auto plus = bundleName.find('+');
    auto name = mgr.entryOfBundleName(bundleName) ? mgr.panelNameOfBundleName(bundleName) : std::nullopt;
    return {{"bundleName", bundleName},
            {"bundle", bundleName.substr(0, plus)},
            {"role", plus == std::string::npos ? ordered_json(nullptr) : ordered_json(bundleName.substr(plus + 1))},
            {"loaded", mgr.entryOfBundleName(bundleName) != nullptr},
            {"panelName", name ? ordered_json(*name) : ordered_json(nullptr)}};
}

ordered_json nodeJson(kzp::PanePlugInMgr& mgr, const kz::Dictionary& node, int depth) {
    const kz::Dictionary& resolved = mgr.resolveItem(node, true);
    ordered_json out = ordered_json::object();
    const kz::Value& bundleName = resolved.get("bundleName");
    if (bundleName.isString()) out = paneJson(mgr, bundleName.string());
    for (const char* key : {"itemName", "mainAlias", "plugInName"})
        if (resolved.get(key).isString()) out[key] = resolved.get(key).string();
    const kz::Value& dependency = resolved.get("dependency");
    if (dependency.isDictionary()) {
        ordered_json deps = ordered_json::object();
        for (const auto& [key, entry] : dependency.dictionary()) {
            if (key == "mainKeyword") {
                if (entry.isString()) out["dependencyMainKeyword"] = entry.string();
            } else if (entry.isDictionary() && entry.dictionary().get("bundleName").isString()) {
                deps[key] = paneJson(mgr, entry.dictionary().get("bundleName").string());
            }
        }
        out["dependency"] = deps;
    }
    const kz::Value& items = resolved.get("items");
    if (items.isArray() && depth < kMaxDepth) {
        ordered_json children = ordered_json::array();
        for (const kz::Value& item : items.array())
            if (item.isDictionary()) children.push_back(nodeJson(mgr, item.dictionary(), depth + 1));
        out["items"] = children;
    }
    return out;
}

void printText(std::ostream& out, const ordered_json& node, int depth) {
    std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    if (node.contains("bundleName")) {
        out << indent << node["bundleName"].get<std::string>();
        if (!node["panelName"].is_null()) out << "  \"" << node["panelName"].get<std::string>() << "\"";
        out << (node["loaded"].get<bool>() ? "" : "  (not loaded)") << "\n";
    } else {
        out << indent << "(node)\n";
    }
    if (node.contains("dependency"))
        for (const auto& [key, dep] : node["dependency"].items())
            out << indent << "  needs " << key << ": " << dep["bundleName"].get<std::string>()
                << (dep["loaded"].get<bool>() ? "" : "  (not loaded)") << "\n";
    if (node.contains("items"))
        for (const auto& child : node["items"]) printText(out, child, depth + 1);
}

int run(const kzpde::DeclaredOptions::FileAndJson& args, kzpde::Invocation& inv) {
    kzpde::PaneHost host;
    if (!host.open(args.bundlePath, inv.err)) return kzpde::kFailure;
    kzp::PanePlugInMgr& mgr = host.manager();
    mgr.loadPlugIns();
    const auto& tree = mgr.panesTreeDictionary();
    kzpde::FailureLog::tell(tree ? kzpde::kOk : kzpde::kFailure, host.logLines(), inv.err, "###");
    if (!tree) return kzpde::kFailure;
    ordered_json root = nodeJson(mgr, *tree, 0);
    if (args.json)
        kzpde::writeJson(inv.out, root);
    else
        printText(inv.out, root, 0);
    return kzpde::kOk;
}

const kzpde::Command::Registration registration({
    "panes tree",
    "show the panes tree as the manager resolves it",
    "Reads the bundle's panes tree, loads the panes, and prints every node with the pane\n"
    "that serves it (bundle, role, panel name, whether it loaded) and the panes it depends\n"
    "on. Exit 1 when the bundle has no panes tree.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto args = kzpde::DeclaredOptions::bundleAndJson(app);
        return [args](kzpde::Invocation& inv) { return run(*args, inv); };
    },
});

}  // namespace
