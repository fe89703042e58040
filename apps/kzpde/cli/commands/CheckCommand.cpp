// kzpde check [FILE.json] [--json] [--bundle DIR]: whether a print option is
// complete enough to print, by the panel's consistency rules.
#include <iostream>
#include <nlohmann/json.hpp>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "support/PaneHost.h"
#include "engine/panes/PanePlugInMgr.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

struct Options {
    std::optional<std::string> file;
    std::string bundlePath;
    bool json = false;
};

int run(const Options& args, kzpde::Invocation& inv) {
    auto option = kzpde::readPrintOption(args.file, std::cin, inv.err);
    if (!option) return kzpde::kUsage;
    kzpde::PaneHost host;
    if (!host.open(args.bundlePath, inv.err)) return kzpde::kFailure;
    std::vector<std::string> failed = kzp::PanePlugInMgr::consistencyFailures(*option);
    if (args.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const std::string& key : failed)
            list.push_back({{"key", key}, {"text", kzp::PanePlugInMgr::localizedAlertText(key)}});
        kzpde::writeJson(inv.out, nlohmann::ordered_json{{"ok", failed.empty()}, {"failed", list}});
    } else {
        for (const std::string& key : failed) inv.out << kzp::PanePlugInMgr::localizedAlertText(key) << "\n";
    }
    return failed.empty() ? kzpde::kOk : kzpde::kFailure;
}

const kzpde::Command::Registration registration({
    "check",
    "check a print option (JSON) against the rules printing needs",
    "Reads a print option, a JSON object of main keyword to value, from the file or from\n"
    "standard input, and applies the consistency rules the detailed settings window\n"
    "applies before printing (a switch that is on needs its companion text). Prints the\n"
    "message of each rule that fails, in rule order, in the bundle's language; with\n"
    "--json: {\"ok\": ..., \"failed\": [{\"key\": message key, \"text\": its text}, ...]}.\n"
    "Exit 0 when every rule holds, 1 when any fails, 2 for bad arguments or input.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option_function<std::string>("FILE.json", [o](const std::string& f) { o->file = f; },
                                             "the print option ('-' or none: standard input)");
        kzpde::DeclaredOptions::json(app, o->json);
        kzpde::DeclaredOptions::bundle(app, o->bundlePath);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
});

}  // namespace
