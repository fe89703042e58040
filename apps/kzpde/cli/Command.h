#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kzpde {

// Exit statuses of every subcommand.
enum Exit { kOk = 0, kFailure = 1, kUsage = 2 };

struct Invocation {
    std::ostream& out;
    std::ostream& err;
};

// What runs a command once its arguments are parsed into the state its
// declaration bound them to.
using Runner = std::function<int(Invocation&)>;

// A git-style subcommand. Each cli/commands/<Name>Command.cpp defines one and
// registers it with a static Command::Registration, so main() needs no list.
// `declare` puts the command's options and arguments on a CLI11 app, bound to
// state it makes, and returns the runner that reads that state: the help,
// the manual page and the completion script read the same declarations.
struct Command {
    std::string name;         // "plist", or "ppd info" for a nested one
    std::string summary;      // one line for `kzpde --help`
    std::string description;  // the paragraphs of `kzpde NAME --help` under the synopsis
    std::function<Runner(CLI::App&)> declare;
    // The exit status of a usage error: kUsage, or kFailure for commands
    // that count bad arguments as bad input like any other.
    int usageStatus = kUsage;

    // An app with this command's declarations; *runner (when given) gets
    // what runs it.
    std::unique_ptr<CLI::App> app(Runner* runner = nullptr) const;
    // The full help text: synopsis, description, options.
    std::string help() const;
    // Every long option and short option the command declares, with --help.
    std::vector<std::string> options() const;

    static std::map<std::string, Command>& registry();
    // A family is the leading words that nested commands share and that are
    // not a command themselves: "ppd" for "ppd info" and "ppd lists".
    static bool isFamily(const std::string& words);
    static std::vector<std::string> families();
    // The commands whose names start with FAMILY and a space, in name order.
    static std::vector<const Command*> members(const std::string& family);
    struct Registration {
        explicit Registration(Command command);
    };
};

// Parses ARGS (after the command's words) with the command's declarations
// and runs it: help on --help, a one-line message and kUsage on a usage
// error, kFailure with the message of anything the run throws.
int runCommand(const Command& command, const std::vector<std::string>& args, Invocation& inv);

}  // namespace kzpde
