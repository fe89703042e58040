// kzpde ppd info FILE [--json]: the product and every option of a PPD as the
// panel sees them, decoded by the PPD's own encoding.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "engine/ppd/PpdFile.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

const char* uiTypeName(int type) {
    switch (type) {
        case kzp::PpdFile::kBoolean: return "Boolean";
        case kzp::PpdFile::kPickOne: return "PickOne";
        case kzp::PpdFile::kPickMany: return "PickMany";
    }
    return "?";
}

nlohmann::json valueJson(const kz::Value& value) {
    if (value.isBoolean()) return value.boolValue();
    if (value.isString()) return value.string();
    return nullptr;
}

nlohmann::json optionalJson(const std::optional<std::string>& text) {
    return text ? nlohmann::json(*text) : nlohmann::json(nullptr);
}

int run(const std::string& path, bool json, kzpde::Invocation& inv) {
    std::string error;
    auto ppd = kzp::PpdFileExt::initWithContentsOfFile(path, &error);
    if (!ppd) {
        inv.err << "kzpde ppd info: " << path << ": " << error << "\n";
        return kzpde::kFailure;
    }
    nlohmann::json options = nlohmann::json::array();
    for (const std::string& keyword : ppd->mainKeywords()) {
        nlohmann::json choices = nlohmann::json::array();
        auto keywords = ppd->optionKeywords(keyword).value_or(std::vector<std::string>{});
        auto aliases = ppd->optionAliases(keyword).value_or(std::vector<std::string>{});
        for (std::size_t i = 0; i < keywords.size(); ++i)
            choices.push_back({{"keyword", keywords[i]}, {"alias", i < aliases.size() ? aliases[i] : keywords[i]}});
        options.push_back({{"keyword", keyword},
                           {"alias", optionalJson(ppd->mainAlias(keyword))},
                           {"uiType", uiTypeName(ppd->uiType(keyword))},
                           {"default", valueJson(ppd->defaultOptionChoice(keyword))},
                           {"choices", choices}});
    }
    std::string encoding = kz::TextEncoding::name(ppd->stringEncoding());
    if (json) {
        // The keys come out in name order, as they always have.
        const nlohmann::json out{{"product", optionalJson(ppd->product())}, {"encoding", encoding}, {"options", options}};
        kzpde::writeJson(inv.out, nlohmann::ordered_json(out));
        return kzpde::kOk;
    }
    inv.out << "product: " << ppd->product().value_or("(none)") << "\nencoding: " << encoding << "\n";
    for (const auto& option : options) {
        const auto& def = option["default"];
        inv.out << "\n" << option["keyword"].get<std::string>() << " \""
                << (option["alias"].is_null() ? std::string("(undecodable)") : option["alias"].get<std::string>())
                << "\" " << option["uiType"].get<std::string>() << " default "
                << (def.is_boolean() ? (def.get<bool>() ? "true" : "false")
                                     : def.is_null() ? "(none)" : def.get<std::string>())
                << "\n";
        for (const auto& choice : option["choices"])
            inv.out << "  " << choice["keyword"].get<std::string>() << "  " << choice["alias"].get<std::string>()
                    << "\n";
    }
    return kzpde::kOk;
}

const kzpde::Command::Registration command{{
    "ppd info",
    "list a PPD's product and options, decoded by its own encoding",
    "Opens FILE with libcups and prints the product, the text encoding the PPD\n"
    "declares, and every option with its main alias, UI type and default, followed\n"
    "by its choices and their aliases. Exit 1 when FILE is missing or unreadable.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto args = kzpde::DeclaredOptions::fileAndJson(app, "FILE", "the PPD");
        return [args](kzpde::Invocation& inv) { return run(args->file, args->json, inv); };
    },
}};

}  // namespace
