// kzpde favorite show|list|write: reads, lists and writes favorite files in
// the user's favorite folder.
#include <filesystem>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <ostream>

#include "support/BundleLocation.h"
#include "cli/Command.h"
#include "support/FailureLog.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/JsonValue.h"
#include "engine/favorites/FavoriteFolder.h"
#include "engine/preferences/AppPreference.h"
#include "engine/favorites/FavoriteFile.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

kzp::AppPreference& preferences() {
    kzp::AppPreference& shared = kzp::AppPreference::sharedInstance();
    if (!shared.bundle()) shared.setBundle(kz::Bundle::open(kzpde::BundleLocation::path()));
    return shared;
}

int show(const std::string& path, bool json, kzpde::Invocation& inv) {
    kz::LogCapture log;
    kzp::FavoriteFile file(path);
    kzpde::FailureLog::tell(file.options() ? kzpde::kOk : kzpde::kFailure, log.lines(), inv.err);
    if (!file.options()) {
        inv.err << "kzpde favorite show: " << path << " is not a readable favorite file\n";
        return kzpde::kFailure;
    }
    if (json) {
        nlohmann::ordered_json options = nlohmann::ordered_json::object();
        for (const auto& [key, value] : *file.options()) options[key] = value.stringValue();
        nlohmann::ordered_json out = {{"name", kzp::FavoriteFile::nameWithPath(path)},
                                      {"version", file.version()},
                                      {"iotType", file.iotType()},
                                      {"encoding", file.encoding()},
                                      {"comment", file.comment() ? nlohmann::ordered_json(*file.comment()) : nullptr},
                                      {"options", options}};
        kzpde::writeJson(inv.out, out);
        return kzpde::kOk;
    }
    inv.out << "name: " << kzp::FavoriteFile::nameWithPath(path) << "\n"
            << "version: " << file.version() << "\n"
            << "device type: " << file.iotType() << "\n"
            << "language code: " << file.encoding() << "\n"
            << "comment: " << (file.comment() ? *file.comment() : "(none)") << "\n"
            << "options:\n";
    for (const auto& [key, value] : *file.options()) inv.out << "  " << key << " = " << value.stringValue() << "\n";
    return kzpde::kOk;
}

int list(kzpde::Invocation& inv) {
    kz::LogCapture log;
    std::vector<std::string> folders = preferences().favoriteFolderPathArray(true);
    std::vector<std::string> paths = kzp::FavoriteFolder::arrayForFavoritePath();
    kzpde::FailureLog::tell(folders.empty() ? kzpde::kFailure : kzpde::kOk, log.lines(), inv.err);
    if (folders.empty()) {
        inv.err << "kzpde favorite list: the bundle names no favorite folder\n";
        return kzpde::kFailure;
    }
    inv.out << "folder: " << folders.front() << "\n";
    // The administrator's shared favorites follow the user's, under a
    // heading for each folder they come from.
    std::string heading = folders.front();
    for (const std::string& path : paths) {
        const std::string folder = std::filesystem::path(path).parent_path().string();
        if (folder != heading && kzp::FavoriteFolder::isSharedFavoritePath(path)) {
            heading = folder;
            inv.out << "shared folder: " << folder << "\n";
        }
        kzp::FavoriteFile file(path);
        inv.out << kzp::FavoriteFile::nameWithPath(path);
        if (file.comment() && !file.comment()->empty()) inv.out << "\t" << *file.comment();
        inv.out << "\n";
    }
    return kzpde::kOk;
}

int write(const std::string& name, const std::optional<std::string>& comment, kzpde::Invocation& inv) {
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    nlohmann::ordered_json input = nlohmann::ordered_json::parse(text, nullptr, false);
    if (!input.is_object()) {
        inv.err << "kzpde favorite write: standard input is not a JSON object of options\n";
        return kzpde::kFailure;
    }
    // Tag values of favorite files are texts, numbers or booleans.
    std::string error;
    std::optional<kz::Dictionary> read = kzpde::printOptionFromJson(input, true, &error);
    if (!read) {
        inv.err << "kzpde favorite write: " << error << "\n";
        return kzpde::kFailure;
    }
    kz::Dictionary options = std::move(*read);
    for (const auto& [key, value] : options) {
        // A favorite file writes numbers as integers: a fraction would be cut.
        if (value.isReal()) {
            inv.err << "kzpde favorite write: option " << key << " is neither a text, an integer nor a boolean\n";
            return kzpde::kFailure;
        }
    }
    kz::LogCapture log;
    preferences();  // the bundle names the favorite folder
    std::optional<std::string> path = kzp::FavoriteFolder::saveFavoriteOnFavoriteDirectory(name, comment, options);
    kzpde::FailureLog::tell(path ? kzpde::kOk : kzpde::kFailure, log.lines(), inv.err);
    if (!path) {
        inv.err << "kzpde favorite write: the favorite " << name << " was not saved\n";
        return kzpde::kFailure;
    }
    inv.out << *path << "\n";
    return kzpde::kOk;
}

const kzpde::Command::Registration showCommand{{
    "favorite show",
    "show the comment and options of a favorite file",
    "Reads FILE.pfj and prints its header, comment and options (tag key = value).\n"
    "Exit status 1 when the file does not read as a favorite; the log lines say why.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto args = kzpde::DeclaredOptions::fileAndJson(app, "FILE.pfj", "the favorite file");
        return [args](kzpde::Invocation& inv) { return show(args->file, args->json, inv); };
    },
}};

const kzpde::Command::Registration listCommand{{
    "favorite list",
    "list the user's favorites and the administrator's shared ones",
    "Prints the favorite folder ($XDG_CONFIG_HOME or ~/.config, then\n"
    "TORVALE/<product>/<sub-folder>/favorite; created when missing), then one line per\n"
    "favorite: its name and, after a tab, its comment. The administrator's shared\n"
    "favorites follow, each folder they are in (every folder of $XDG_CONFIG_DIRS,\n"
    "else /etc/xdg, then the same sub-path) on a line \"shared folder: FOLDER\"\n"
    "before its favorites. A user's favorite of the same name as a shared one comes\n"
    "first wherever a favorite is chosen by name (--favorite); shared favorites\n"
    "cannot be renamed, commented or deleted from a user's session.\n",
    [](CLI::App&) -> kzpde::Runner { return list; },
}};

const kzpde::Command::Registration writeCommand{{
    "favorite write",
    "save options read as JSON as a favorite",
    "Reads (on standard input) a JSON object of options in input-manager format (tag key to text,\n"
    "integer or boolean) and saves it as the favorite NAME in the user's favorite\n"
    "folder, replacing one of that name. Prints the path of the file.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto name = std::make_shared<std::string>();
        auto comment = std::make_shared<std::optional<std::string>>();
        app.add_option("NAME", *name, "the favorite's name")->required();
        app.add_option_function<std::string>("--comment", [comment](const std::string& c) { *comment = c; },
                                             "the favorite's comment")
            ->type_name("TEXT");
        return [name, comment](kzpde::Invocation& inv) { return write(*name, *comment, inv); };
    },
}};

}  // namespace
