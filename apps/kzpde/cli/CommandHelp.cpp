#include "cli/CommandHelp.h"

#include <algorithm>
#include <ostream>

#include "cli/Command.h"

namespace kzpde {

void CommandHelp::table(std::ostream& out, const std::vector<const Command*>& commands) {
    std::size_t width = 0;
    for (const Command* command : commands) width = std::max(width, command->name.size());
    for (const Command* command : commands)
        out << "  " << command->name << std::string(width + 2 - command->name.size(), ' ') << command->summary << "\n";
}

void CommandHelp::overview(std::ostream& out) {
    std::vector<const Command*> all;
    for (const auto& [name, command] : Command::registry()) all.push_back(&command);
    out << "usage: kzpde [--verbose] COMMAND [ARGS...]\n\ncommands:\n";
    table(out, all);
    out << "\n'kzpde COMMAND --help' describes one command; 'kzpde --version' names the\n"
           "version and the plug-in bundle in use.\n\n"
           "The panel's diagnostic lines go to the system log; --verbose (or KZ_LOG=stderr\n"
           "in the environment) writes them on standard error too. Without it a command\n"
           "that succeeds writes nothing on standard error.\n";
}

void CommandHelp::family(std::ostream& out, const std::string& family) {
    out << "usage: kzpde " << family << " COMMAND [ARGS...]\n\ncommands:\n";
    table(out, Command::members(family));
    out << "\n'kzpde " << family << " COMMAND --help' describes one command.\n";
}

}  // namespace kzpde
