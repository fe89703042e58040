// kzpde summary [FILE.json] [--bundle DIR]: a print option summarised as
// the panel summarises it, main alias to option alias from the plug-in's PPD.
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
};

int run(const Options& args, kzpde::Invocation& inv) {
    auto option = kzpde::readPrintOption(args.file, std::cin, inv.err);
    if (!option) return kzpde::kFailure;
    kzpde::PaneHost host;
    if (!host.open(args.bundlePath, inv.err)) return kzpde::kFailure;
    kzp::PanePlugInMgr& mgr = host.manager();
    if (!mgr.ppdInformation()) {
        inv.err << "kzpde summary: the bundle's PPD cannot be opened\n";
        return kzpde::kFailure;
    }
    auto summary = mgr.summaryInfoFromPrintOption(&*option);
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const auto& [alias, value] : summary.value_or(kz::Dictionary())) out[alias] = value.stringValue();
    kzpde::writeJson(inv.out, out);
    return kzpde::kOk;
}

const kzpde::Command::Registration registration({
    "summary",
    "summarise a print option (JSON) as main alias -> option alias",
    "Reads a print option, a JSON object of main keyword to value, from the file or from\n"
    "standard input, and prints the summary the panel shows: a JSON object of each\n"
    "option's display name to its choice's display name, from the plug-in's PPD. Keys the\n"
    "PPD does not describe are left out; booleans count as \"True\" / \"False\".\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        app.add_option_function<std::string>("FILE.json", [o](const std::string& f) { o->file = f; },
                                             "the print option ('-' or none: standard input)");
        kzpde::DeclaredOptions::bundle(app, o->bundlePath);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
});

}  // namespace
