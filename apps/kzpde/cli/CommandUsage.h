#pragma once

#include <string>

namespace CLI {
class App;
class Error;
class Option;
}  // namespace CLI

namespace kzpde {

struct Command;

// The texts a command's declarations make: its synopsis ("usage: kzpde
// print FILE [--printer NAME]..."), its help, and the one line that says
// what was wrong with the arguments.
class CommandUsage {
public:
    static std::string synopsis(const Command& command, const CLI::App& app);
    // Synopsis, description, then each option with its description.
    static std::string help(const Command& command, const CLI::App& app);
    static std::string message(const CLI::Error& error);

private:
    static std::string word(const CLI::Option& option);
    static std::string optionTable(const CLI::App& app);
};

}  // namespace kzpde
