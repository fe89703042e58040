// kzpde convert canonical|internal|to-input-mgr|to-ppd-keyword: a print
// option (a JSON object on standard input) brought into the canonical or the
// internal form, or converted to and from the input-manager format of
// favorite files through the convert table.
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "BundleLocation.h"
#include "Command.h"
#include "Common/Util/EncDec.h"
#include "JsonValue.h"
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
    if (!inv.args.empty()) {
        inv.err << "usage: kzpde convert " << (canonical ? "canonical" : "internal") << " < OPTION.json\n";
        return kzpde::kUsage;
    }
    kz::Dictionary option;
    if (!readOption(inv, option, false)) return kzpde::kFailure;
    // The password library is loaded only when there is a password to convert.
    bool hasPassword = false;
    for (const char* key : {"SecurityPrintPassword", "RscPassword", "AuthJobPassword"})
        hasPassword = hasPassword || !option.get(key).stringValue().empty();
    if (hasPassword) kzp::loadEncDec(kzpde::BundleLocation::path() + "/Contents/Resources");
    if (canonical) kzp::ConvertToCanonicalPpdKeyword(&option);
    else kzp::ConvertToInternalPpdKeyword(&option);
    inv.out << kzpde::jsonText(kzpde::printOptionToJson(option)) << "\n";
    return kzpde::kOk;
}

// The table named by --convert-table, else the bundle's own; "" when the
// arguments are wrong.
bool convertTablePath(const std::vector<std::string>& args, std::string& path) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--convert-table" && i + 1 < args.size() && path.empty()) path = args[++i];
        else if (args[i].rfind("--convert-table=", 0) == 0 && path.empty()) path = args[i].substr(16);
        else return false;
    }
    if (!path.empty()) return true;
    kzp::AppPreference& preference = kzp::AppPreference::sharedInstance();
    if (!preference.bundle()) preference.setBundle(kz::Bundle::open(kzpde::BundleLocation::path()));
    std::optional<std::string> name = preference.convertTableFileNameWithAppName(std::nullopt);
    if (name && preference.bundle()) path = preference.bundle()->pathForResource(*name, "plist");
    if (path.empty()) path = kzpde::BundleLocation::path() + "/Contents/Resources/ConvertTable.plist";
    return true;
}

int runTable(kzpde::Invocation& inv, bool toInputMgr) {
    std::string path;
    if (!convertTablePath(inv.args, path)) {
        inv.err << "usage: kzpde convert " << (toInputMgr ? "to-input-mgr" : "to-ppd-keyword")
                << " [--convert-table FILE] < OPTION.json\n";
        return kzpde::kUsage;
    }
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
    inv.out << kzpde::jsonText(kzpde::toJson(kz::Value(std::move(converted)))) << "\n";
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

const kzpde::Command::Registration toInputMgrCommand{{
    "convert to-input-mgr",
    "convert a canonical print option (JSON on stdin) to the input-manager format",
    "usage: kzpde convert to-input-mgr [--convert-table FILE] < OPTION.json\n\n"
    "Reads a print option in the canonical form and prints the tags of the\n"
    "input-manager format that favorite files hold, by the convert table (the\n"
    "bundle's own unless FILE is given). Options the table does not list are\n"
    "dropped; values it cannot map are logged on standard error.\n",
    [](kzpde::Invocation& inv) { return runTable(inv, true); },
}};

const kzpde::Command::Registration toPpdKeywordCommand{{
    "convert to-ppd-keyword",
    "convert input-manager tags (JSON on stdin) to a canonical print option",
    "usage: kzpde convert to-ppd-keyword [--convert-table FILE] < TAGS.json\n\n"
    "Reads a JSON object of input-manager tags (numbers or number texts) and\n"
    "prints the print option they stand for, by the convert table (the bundle's\n"
    "own unless FILE is given), colour correction and saved file type included.\n",
    [](kzpde::Invocation& inv) { return runTable(inv, false); },
}};

}  // namespace
