#include "cli/Command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>
#include <set>

#include "cli/CommandUsage.h"

namespace kzpde {

std::map<std::string, Command>& Command::registry() {
    static std::map<std::string, Command> commands;
    return commands;
}

Command::Registration::Registration(Command command) {
    std::string key = command.name;
    registry().emplace(std::move(key), std::move(command));
}

bool Command::isFamily(const std::string& words) {
    if (words.empty() || registry().count(words)) return false;
    auto it = registry().lower_bound(words + " ");
    return it != registry().end() && it->first.compare(0, words.size() + 1, words + " ") == 0;
}

std::vector<std::string> Command::families() {
    std::set<std::string> found;
    for (const auto& [name, command] : registry()) {
        for (std::size_t space = name.find(' '); space != std::string::npos; space = name.find(' ', space + 1))
            if (isFamily(name.substr(0, space))) found.insert(name.substr(0, space));
    }
    return {found.begin(), found.end()};
}

std::vector<const Command*> Command::members(const std::string& family) {
    std::vector<const Command*> found;
    const std::string prefix = family + " ";
    for (auto it = registry().lower_bound(prefix); it != registry().end() && it->first.rfind(prefix, 0) == 0; ++it)
        found.push_back(&it->second);
    return found;
}

std::unique_ptr<CLI::App> Command::app(Runner* runner) const {
    auto app = std::make_unique<CLI::App>(summary, "kzpde " + name);
    app->set_help_flag("-h,--help", "describe the command and exit");
    Runner made = declare ? declare(*app) : Runner();
    if (runner) *runner = std::move(made);
    return app;
}

std::string Command::help() const {
    return CommandUsage::help(*this, *app());
}

std::vector<std::string> Command::options() const {
    std::set<std::string> found{"--help"};
    const auto declared = app();
    for (const CLI::Option* option : declared->get_options()) {
        for (const std::string& name : option->get_lnames()) found.insert("--" + name);
        for (const std::string& name : option->get_snames()) found.insert("-" + name);
    }
    found.erase("-h");
    return {found.begin(), found.end()};
}

int runCommand(const Command& command, const std::vector<std::string>& args, Invocation& inv) {
    Runner runner;
    const auto app = command.app(&runner);
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        inv.out << CommandUsage::help(command, *app);
        return kOk;
    } catch (const CLI::ParseError& e) {
        inv.err << "kzpde " << command.name << ": " << CommandUsage::message(e) << "\n";
        return command.usageStatus;
    }
    try {
        return runner(inv);
    } catch (const std::exception& e) {
        inv.err << "kzpde " << command.name << ": " << e.what() << "\n";
        return kFailure;
    }
}

}  // namespace kzpde
