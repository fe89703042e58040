// kzpde profile show: the key/value pairs of a profile (".cps") file.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/Command.h"
#include "support/FailureLog.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

int show(const std::string& path, bool json, kzpde::Invocation& inv) {
    kz::LogCapture log;
    std::optional<kz::Dictionary> pairs = kzp::AppPreference::profileDictionaryWithContentsOfFile(path);
    kzpde::FailureLog::tell(pairs ? kzpde::kOk : kzpde::kFailure, log.lines(), inv.err);
    if (!pairs) {
        inv.err << "kzpde profile show: " << path << " cannot be read\n";
        return kzpde::kFailure;
    }
    if (json) {
        nlohmann::ordered_json out = nlohmann::ordered_json::object();
        for (const auto& [key, value] : *pairs) out[key] = value.string();
        kzpde::writeJson(inv.out, out);
    } else {
        for (const auto& [key, value] : *pairs) inv.out << key << "=" << value.string() << "\n";
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration showCommand{{
    "profile show",
    "show the key/value pairs of a profile file",
    "Reads FILE.cps (UTF-8, else DOS Latin 1) and prints its pairs as KEY=VALUE in\n"
    "file order; a later key replaces an earlier one. Exit status 1 when the file\n"
    "cannot be read.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto args = kzpde::DeclaredOptions::fileAndJson(app, "FILE.cps", "the profile file");
        return [args](kzpde::Invocation& inv) { return show(args->file, args->json, inv); };
    },
}};

}  // namespace
