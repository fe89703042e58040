// kzpde convert canonical|internal|to-input-mgr|to-ppd-keyword: a print
// option (a JSON object on standard input) brought into the canonical or the
// internal form, or converted to and from the input-manager format of
// favorite files through the convert table.
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "support/BundleLocation.h"
#include "cli/Command.h"
#include <CLI/CLI.hpp>
#include "Common/Security/EncDec.h"
#include "support/JsonValue.h"
#include "engine/preferences/AppPreference.h"
#include "engine/conversion/ConvertTable.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "platform/foundation/Bundle.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::size_t kMaxInput = 1 << 20;

// The print option on standard input; false after writing the reason.
bool readOption(kzpde::Invocation& inv, kz::Dictionary& option, bool keepNumbers) {
    std::string input;
    char buffer[4096];
    while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
        input.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
        if (input.size() > kMaxInput) {
            inv.err << "kzpde convert: the input is larger than 1 MiB\n";
            return false;
        }
    }
    nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(input, nullptr, false);
    std::string error = parsed.is_discarded() ? "the input is not JSON" : "";
    std::optional<kz::Dictionary> read;
    if (error.empty()) read = kzpde::printOptionFromJson(parsed, keepNumbers, &error);
    if (!read) {
        inv.err << "kzpde convert: " << error << "\n";
        return false;
    }
    option = std::move(*read);
    return true;
}

int run(kzpde::Invocation& inv, bool canonical) {
    kz::Dictionary option;
    if (!readOption(inv, option, false)) return kzpde::kFailure;
    // The password library is loaded only when there is a password to convert.
    bool hasPassword = false;
    for (const char* key : {"SecurityPrintPassword", "RscPassword", "AuthJobPassword"})
        hasPassword = hasPassword || !option.get(key).stringValue().empty();
    if (hasPassword) kzp::loadEncDec(kzpde::BundleLocation::path() + "/Contents/Resources");
    if (canonical) kzp::ConvertToCanonicalPpdKeyword(&option);
    else kzp::ConvertToInternalPpdKeyword(&option);
    kzpde::writeJson(inv.out, kzpde::printOptionToJson(option));
    return kzpde::kOk;
}

// The table named by --convert-table, else the bundle's own.
std::string convertTablePath(std::string path) {
    if (!path.empty()) return path;
    kzp::AppPreference& preference = kzp::AppPreference::sharedInstance();
    if (!preference.bundle()) preference.setBundle(kz::Bundle::open(kzpde::BundleLocation::path()));
    std::optional<std::string> name = preference.convertTableFileNameWithAppName(std::nullopt);
    if (name && preference.bundle()) path = preference.bundle()->pathForResource(*name, "plist");
    if (path.empty()) path = kzpde::BundleLocation::path() + "/Contents/Resources/ConvertTable.plist";
    return path;
}

int runTable(kzpde::Invocation& inv, bool toInputMgr, const std::string& given) {
    const std::string path = convertTablePath(given);
    kz::Dictionary option;
    if (!readOption(inv, option, !toInputMgr)) return kzpde::kFailure;
    std::string error;
    std::optional<kzp::ConvertTable> table = kzp::ConvertTable::readFile(path, &error);
    if (!table) {
        inv.err << "kzpde convert: the convert table cannot be used: " << error << "\n";
        return kzpde::kFailure;
    }
    kz::Dictionary converted = toInputMgr ? kzp::PrintOptionConverter::toInputMgrFormat(option, *table)
                                          : kzp::PrintOptionConverter::toPpdKeywordFormat(option, *table);
    kzpde::writeJson(inv.out, kz::Value(std::move(converted)));
    return kzpde::kOk;
}

kzpde::Runner tableCommand(CLI::App& app, bool toInputMgr) {
    auto table = std::make_shared<std::string>();
    app.add_option("--convert-table", *table, "the convert table (the bundle's own by default)")->type_name("FILE");
    return [table, toInputMgr](kzpde::Invocation& inv) { return runTable(inv, toInputMgr, *table); };
}

const kzpde::Command::Registration canonicalCommand{{
    "convert canonical",
    "bring a print option (JSON on stdin) into the canonical form",
    "Reads a print option (JSON on standard input) in the internal form the controls edit (millimetres,\n"
    "percentages, joined keys) and prints it in the canonical form the printing\n"
    "system reads. Passwords go through the password library when it is loaded;\n"
    "otherwise they are logged as encode errors and left empty.\n",
    [](CLI::App&) -> kzpde::Runner { return [](kzpde::Invocation& inv) { return run(inv, true); }; },
}};

const kzpde::Command::Registration internalCommand{{
    "convert internal",
    "bring a print option (JSON on stdin) into the internal form",
    "Reads a canonical print option (JSON on standard input) and prints it in the internal form.\n",
    [](CLI::App&) -> kzpde::Runner { return [](kzpde::Invocation& inv) { return run(inv, false); }; },
}};

const kzpde::Command::Registration toInputMgrCommand{{
    "convert to-input-mgr",
    "convert a canonical print option (JSON on stdin) to the input-manager format",
    "Reads a print option (JSON on standard input) in the canonical form and prints the tags of the\n"
    "input-manager format that favorite files hold, by the convert table (the\n"
    "bundle's own unless FILE is given). Options the table does not list are\n"
    "dropped; values it cannot map are logged on standard error.\n",
    [](CLI::App& app) { return tableCommand(app, true); },
}};

const kzpde::Command::Registration toPpdKeywordCommand{{
    "convert to-ppd-keyword",
    "convert input-manager tags (JSON on stdin) to a canonical print option",
    "Reads a JSON object (on standard input) of input-manager tags (numbers or number texts) and\n"
    "prints the print option they stand for, by the convert table (the bundle's\n"
    "own unless FILE is given), colour correction and saved file type included.\n",
    [](CLI::App& app) { return tableCommand(app, false); },
}};

}  // namespace
