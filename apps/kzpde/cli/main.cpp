// kzpde: the host of the print panel and the project's command-line tool.
// Subcommands nest git-style ("kzpde ppd info FILE"): the longest registered
// name that matches the leading words wins. Leading words that only start
// command names ("kzpde ppd") are a family: alone or with --help they list
// the family's commands.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/BashCompletion.h"
#include "support/BundleLocation.h"
#include "cli/Command.h"
#include "cli/CommandHelp.h"
#include "cli/ManPage.h"
#include "platform/foundation/Log.h"

namespace {

// The build writes the manual page and the completion script with these; they
// are not commands of their own so that neither lists itself.
int writeGenerated(const std::string& what, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (what == "--write-man-page") kzpde::ManPage::write(out, KZ_VERSION);
    else kzpde::BashCompletion::write(out);
    out.close();
    if (!out) {
        std::cerr << "kzpde: cannot write " << path << "\n";
        return kzpde::kFailure;
    }
    return kzpde::kOk;
}

// Runs a family's words: "kzpde ppd" or "kzpde ppd --help" lists its
// commands; anything else after them is a command it does not have.
int runFamily(const std::string& family, const std::vector<std::string>& rest) {
    if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
        kzpde::CommandHelp::family(std::cout, family);
        return kzpde::kOk;
    }
    if (!rest.empty()) std::cerr << "kzpde: unknown command '" << family << " " << rest[0] << "'\n";
    kzpde::CommandHelp::family(std::cerr, family);
    return kzpde::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    // The system's log lines go to the journal; --verbose before the command
    // shows them on standard error as well.
    while (!words.empty() && words[0] == "--verbose") {
        kz::Log::setStderrEnabled(true);
        words.erase(words.begin());
    }
    // "kzpde help WORDS..." is "kzpde WORDS... --help".
    if (words.size() > 1 && words[0] == "help") {
        words.erase(words.begin());
        words.emplace_back("--help");
    }
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        kzpde::CommandHelp::overview(words.empty() ? std::cerr : std::cout);
        return words.empty() ? kzpde::kUsage : kzpde::kOk;
    }
    if (words[0] == "--version") {
        std::cout << "kzpde " << KZ_VERSION << "\nbundle: " << kzpde::BundleLocation::path() << "\n";
        return kzpde::kOk;
    }
    if (words.size() == 2 && (words[0] == "--write-man-page" || words[0] == "--write-bash-completion"))
        return writeGenerated(words[0], words[1]);

    const auto& registry = kzpde::Command::registry();
    const kzpde::Command* found = nullptr;
    std::size_t used = 0, familyWords = 0;
    std::string name;
    for (std::size_t i = 0; i < words.size() && i < 3; ++i) {
        name += (i ? " " : "") + words[i];
        auto it = registry.find(name);
        if (it != registry.end()) found = &it->second, used = i + 1;
        else if (kzpde::Command::isFamily(name)) familyWords = i + 1;
    }
    if (familyWords > used) {
        std::string family = words[0];
        for (std::size_t i = 1; i < familyWords; ++i) family += " " + words[i];
        return runFamily(family, std::vector<std::string>(words.begin() + static_cast<long>(familyWords), words.end()));
    }
    if (!found) {
        std::cerr << "kzpde: unknown command '" << words[0] << "'\n";
        kzpde::CommandHelp::overview(std::cerr);
        return kzpde::kUsage;
    }
    kzpde::Invocation inv{std::cout, std::cerr};
    return kzpde::runCommand(*found, std::vector<std::string>(words.begin() + static_cast<long>(used), words.end()), inv);
}
