// kzpde profile show: the key/value pairs of a profile (".cps") file.
#include <nlohmann/json.hpp>
#include <ostream>

#include "Command.h"
#include "FailureLog.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

int show(kzpde::Invocation& inv) {
    bool json = false;
    std::string path;
    if (!kzpde::fileAndJsonArgs(inv.args, path, json)) {
        inv.err << "usage: kzpde profile show FILE.cps [--json]\n";
        return kzpde::kUsage;
    }
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
        inv.out << out.dump(2) << "\n";
    } else {
        for (const auto& [key, value] : *pairs) inv.out << key << "=" << value.string() << "\n";
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration showCommand{{
    "profile show",
    "show the key/value pairs of a profile file",
    "usage: kzpde profile show FILE.cps [--json]\n\n"
    "Reads FILE.cps (UTF-8, else DOS Latin 1) and prints its pairs as KEY=VALUE in\n"
    "file order; a later key replaces an earlier one. Exit status 1 when the file\n"
    "cannot be read.\n",
    show,
}};

}  // namespace
