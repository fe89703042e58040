// kzpde convert canonical|internal: a print option (a JSON object on standard
// input) brought into the canonical or the internal form.
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "Command.h"
#include "Common/Util/EncDec.h"
#include "engine/PrintOptionConverter.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxInput = 1 << 20;

// Print option values are texts or booleans; numbers are taken as their text.
bool toOption(const nlohmann::ordered_json& in, kz::Dictionary& out, std::string& error) {
    if (!in.is_object()) {
        error = "the print option must be a JSON object";
        return false;
    }
    for (const auto& [key, value] : in.items()) {
        if (value.is_string()) out.set(key, value.get<std::string>());
        else if (value.is_boolean()) out.set(key, value.get<bool>());
        else if (value.is_number()) out.set(key, value.dump());
        else {
            error = "the value of \"" + key + "\" is not a text, number or boolean";
            return false;
        }
    }
    return true;
}

nlohmann::ordered_json toJson(const kz::Dictionary& option) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const auto& [key, value] : option) {
        if (value.isBoolean()) out[key] = value.boolValue();
        else out[key] = value.stringValue();
    }
    return out;
}

int run(kzpde::Invocation& inv, bool canonical) {
    if (!inv.args.empty()) {
        inv.err << "usage: kzpde convert " << (canonical ? "canonical" : "internal") << " < OPTION.json\n";
        return kzpde::kUsage;
    }
    std::string input;
    char buffer[4096];
    while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
        input.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
        if (input.size() > kMaxInput) {
            inv.err << "kzpde convert: the input is larger than 1 MiB\n";
            return kzpde::kFailure;
        }
    }
    nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(input, nullptr, false);
    kz::Dictionary option;
    std::string error = parsed.is_discarded() ? "the input is not JSON" : "";
    if (!error.empty() || !toOption(parsed, option, error)) {
        inv.err << "kzpde convert: " << error << "\n";
        return kzpde::kFailure;
    }
    kz::LogCapture log;
    // The password library is loaded only when there is a password to convert.
    bool hasPassword = false;
    for (const char* key : {"SecurityPrintPassword", "RscPassword", "AuthJobPassword"})
        hasPassword = hasPassword || !option.get(key).stringValue().empty();
    if (hasPassword) kzp::loadEncDec(std::string(KZ_BUNDLE_DIR) + "/Contents/Resources");
    if (canonical) kzp::ConvertToCanonicalPpdKeyword(&option);
    else kzp::ConvertToInternalPpdKeyword(&option);
    for (const std::string& line : log.lines()) inv.err << line << "\n";
    inv.out << toJson(option).dump(2) << "\n";
    return kzpde::kOk;
}

const kzpde::Command::Registration canonicalCommand{{
    "convert canonical",
    "bring a print option (JSON on stdin) into the canonical form",
    "usage: kzpde convert canonical < OPTION.json\n\n"
    "Reads a print option in the internal form the controls edit (millimetres,\n"
    "percentages, joined keys) and prints it in the canonical form the printing\n"
    "system reads. Passwords go through the password library when it is loaded;\n"
    "otherwise they are logged as encode errors and left empty.\n",
    [](kzpde::Invocation& inv) { return run(inv, true); },
}};

const kzpde::Command::Registration internalCommand{{
    "convert internal",
    "bring a print option (JSON on stdin) into the internal form",
    "usage: kzpde convert internal < OPTION.json\n\n"
    "Reads a canonical print option and prints it in the internal form.\n",
    [](kzpde::Invocation& inv) { return run(inv, false); },
}};

}  // namespace
