#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/PageSetupRequest.h"
#include "host/TrayWindows.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace kzpde {

// The option types several commands share, declared once so that they
// read, check and describe themselves the same everywhere. Options that
// repeat run their callback at each occurrence, so values given across
// several options keep the order they were typed in.
class DeclaredOptions {
public:
    using KeyValue = std::pair<std::string, std::string>;

    // "KEY=VALUE" split at the first '=' (the value may be empty or hold
    // more '='); a missing '=' or an empty key is a usage error.
    static KeyValue split(const std::string& text, const std::string& option);

    // NAME KEY=VALUE, repeatable; each one given to take in order.
    static CLI::Option* keyValue(CLI::App& app, const std::string& name, const std::string& typeName,
                                 std::function<void(KeyValue)> take, const std::string& description);
    static CLI::Option* keyValues(CLI::App& app, const std::string& name, std::vector<KeyValue>& into,
                                  const std::string& description);
    // --answer yes|no, repeatable: the answers to the questions, in order.
    static CLI::Option* answers(CLI::App& app, std::deque<bool>& into);
    // --tray automatic|bypass KEY=VALUE..., repeatable: the values run to
    // the next option.
    static CLI::Option* trays(CLI::App& app, std::vector<TrayWindows::Request>& into);
    // --paper NAME, --pages all|RANGES, --orientation portrait|landscape:
    // the print dialog's page setup, each at most once. Kept as typed and
    // checked against the printer when the dialog works them (exit 1).
    static void pageSetup(CLI::App& app, PageSetupRequest& into);
    // --ok / --cancel, at most one of them; ok stays as it is without either.
    static void okOrCancel(CLI::App& app, bool& ok, const std::string& description);
    // A TCP port: 1 to 65535, digits only (--port unless NAME says otherwise).
    static CLI::Option* port(CLI::App& app, int& into, const std::string& description,
                             const std::string& name = "--port");
    // --timeout S: seconds, above 0 and at most a day.
    static CLI::Option* timeout(CLI::App& app, double& into,
                                const std::string& description = "seconds for the whole run (60)");
    // NAME TEXT, once, and not empty.
    static CLI::Option* text(CLI::App& app, const std::string& name, std::string& into, const std::string& typeName,
                             const std::string& description);
    // --bundle DIR: the plug-in bundle, the tool's own unless given.
    static CLI::Option* bundle(CLI::App& app, std::string& path);
    static CLI::Option* json(CLI::App& app, bool& json, const std::string& description = "print JSON");

    // The arguments of the commands that read one file and print it, as
    // text or JSON (FILE [--json]), and of those that load the bundle's
    // panes ([--bundle DIR] [--json]).
    struct FileAndJson {
        std::string file, bundlePath;
        bool json = false;
    };
    static std::shared_ptr<FileAndJson> fileAndJson(CLI::App& app, const std::string& name,
                                                    const std::string& description);
    static std::shared_ptr<FileAndJson> bundleAndJson(CLI::App& app);
};

}  // namespace kzpde
