// kzpde: the host of the print panel and the project's command-line tool.
// Subcommands nest git-style ("kzpde ppd info FILE"): the longest registered
// name that matches the leading words wins.
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "platform/foundation/Log.h"

namespace {

void printOverview(std::ostream& out) {
    out << "usage: kzpde COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& [name, command] : kzpde::Command::registry())
        out << "  " << name << std::string(name.size() < 24 ? 24 - name.size() : 1, ' ') << command.summary << "\n";
    out << "\n'kzpde COMMAND --help' describes one command.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    kz::Log::setSyslogEnabled(false);
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        printOverview(words.empty() ? std::cerr : std::cout);
        return words.empty() ? kzpde::kUsage : kzpde::kOk;
    }
    const auto& registry = kzpde::Command::registry();
    const kzpde::Command* found = nullptr;
    std::size_t used = 0;
    std::string name;
    for (std::size_t i = 0; i < words.size() && i < 3; ++i) {
        name += (i ? " " : "") + words[i];
        auto it = registry.find(name);
        if (it != registry.end()) found = &it->second, used = i + 1;
    }
    if (!found) {
        std::cerr << "kzpde: unknown command '" << words[0] << "'\n";
        printOverview(std::cerr);
        return kzpde::kUsage;
    }
    kzpde::Invocation inv{std::vector<std::string>(words.begin() + static_cast<long>(used), words.end()), std::cout,
                          std::cerr};
    if (kzpde::wantsHelp(inv.args)) {
        std::cout << found->usage;
        return kzpde::kOk;
    }
    try {
        return found->run(inv);
    } catch (const std::exception& e) {
        std::cerr << "kzpde " << found->name << ": " << e.what() << "\n";
        return kzpde::kFailure;
    }
}
