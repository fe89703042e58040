// kzpde describe lint FILE [--with FILE]...: checks a control description file
// against its format and prints one "FILE: NAME: message" line per fault.
//
// Rules may name options that controls of other files edit: the panes and the
// panel register into one registry, so a pane's rule can switch the panel's
// controls and the other way round. A file inside a plug-in therefore counts
// the options of every description file of that plug-in (its "VLPOD" file and
// each pane's "UI" file); --with adds the options of further files.
#include <filesystem>
#include <ostream>
#include <set>

#include "cli/Command.h"
#include <CLI/CLI.hpp>
#include "engine/controls/ControlDescription.h"
#include "engine/controls/ControlDescriptionLint.h"
#include "platform/foundation/PropertyList.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;

namespace {

// The plug-in a file in some bundle's Contents/Resources belongs to: the
// bundle itself, or the bundle that holds it in its Contents/PlugIns.
std::optional<std::string> enclosingPlugIn(const std::string& path) {
    std::string absolute = fs::absolute(path).lexically_normal().string();
    std::size_t at = absolute.rfind("/Contents/Resources/");
    if (at == std::string::npos) return std::nullopt;
    std::string bundle = absolute.substr(0, at);
    if (std::size_t plugIns = bundle.find("/Contents/PlugIns/"); plugIns != std::string::npos)
        bundle = bundle.substr(0, plugIns);
    return bundle;
}

// Every description file of a plug-in: the one its "VLPOD" names and the "UI"
// file of each bundle below its Contents/PlugIns, at any depth.
std::vector<std::string> descriptionFiles(const std::string& plugIn) {
    std::vector<std::string> files;
    kz::Value info = kz::PropertyList::readFile(plugIn + "/Contents/Info.plist");
    if (info.isDictionary())
        if (const kz::Value* pod = info.dictionary().find("VLPOD"); pod && pod->isString())
            files.push_back(plugIn + "/Contents/Resources/" + pod->string() + ".plist");
    std::error_code ec;
    fs::recursive_directory_iterator it(plugIn + "/Contents/PlugIns", fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path& p = it->path();
        if (p.filename() == "UI.plist" && p.parent_path().filename() == "Resources" &&
            p.parent_path().parent_path().filename() == "Contents")
            files.push_back(p.string());
    }
    return files;
}

void addKeywords(const std::string& path, std::set<std::string>& keywords) {
    std::optional<kz::Dictionary> file = kzp::ControlDescription::readFile(path);
    if (!file) return;
    for (const auto& [name, value] : *file)
        if (value.isDictionary())
            if (auto keyword = kzp::ControlDescription::nonEmptyText(value.dictionary(), "mainKeyword"))
                keywords.insert(*keyword);
}

int run(const std::string& path, std::vector<std::string> others, kzpde::Invocation& inv) {
    std::string error;
    std::optional<kz::Dictionary> file = kzp::ControlDescription::readFile(path, &error);
    if (!file) {
        inv.out << path << ": " << error << "\n";
        return kzpde::kFailure;
    }
    for (const std::string& other : others) {
        if (!kzp::ControlDescription::readFile(other, &error)) {
            inv.out << other << ": " << error << "\n";
            return kzpde::kFailure;
        }
    }
    if (auto plugIn = enclosingPlugIn(path))
        for (const std::string& f : descriptionFiles(*plugIn)) others.push_back(f);

    // The options edited elsewhere join the check as bare entries (a main
    // keyword and nothing else, which the check has nothing to say about),
    // under names that no description file uses.
    std::set<std::string> own, elsewhere;
    addKeywords(path, own);
    for (const std::string& f : others) addKeywords(f, elsewhere);
    kz::Dictionary checked = *file;
    for (const std::string& keyword : elsewhere) {
        if (own.contains(keyword)) continue;
        kz::Dictionary bare;
        bare.set("mainKeyword", keyword);
        checked.set("\x1f" "elsewhere:" + keyword, kz::Value(std::move(bare)));
    }
    auto findings = kzp::ControlDescriptionLint::check(checked);
    for (const auto& f : findings) inv.out << path << ": " << f.control << ": " << f.message << "\n";
    return findings.empty() ? kzpde::kOk : kzpde::kFailure;
}

const kzpde::Command::Registration lintCommand{{
    "describe lint",
    "check a control description file against its format",
    "Reads the control description FILE and prints \"FILE: NAME: message\" for each\n"
    "fault of a control NAME: an unknown control type, a CheckBox without exactly\n"
    "two choices, a rule (conflict, unrestorable_conflict, condition,\n"
    "logical_sum_condition, cooperation, hide) naming a keyword that no control\n"
    "edits, a child in \"other_controls\" without a description, a \"__LESS__:\" or\n"
    "\"__GREATER__:\" pattern without a number, and entries of the wrong type.\n\n"
    "Rules may name options of other files: a FILE in a plug-in's resources (or a\n"
    "pane's, below Contents/PlugIns) counts the options of every description file\n"
    "of that plug-in (the \"VLPOD\" file of its Info.plist and each pane's UI.plist);\n"
    "--with FILE counts those of FILE too. Exit status 0 when it found nothing, 1\n"
    "when it found a fault or cannot read a file (then one line \"FILE: reason\").\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto path = std::make_shared<std::string>();
        auto others = std::make_shared<std::vector<std::string>>();
        app.add_option("FILE", *path, "the control description file")->required();
        app.add_option("--with", *others, "another description file whose options rules may name")->type_name("FILE");
        return [path, others](kzpde::Invocation& inv) { return run(*path, *others, inv); };
    },
}};

}  // namespace
