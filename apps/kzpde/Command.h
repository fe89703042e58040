#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace kzpde {

// Exit statuses of every subcommand.
enum Exit { kOk = 0, kFailure = 1, kUsage = 2 };

struct Invocation {
    std::vector<std::string> args;  // after the subcommand's own name
    std::ostream& out;
    std::ostream& err;
};

// A git-style subcommand. Each commands/<Name>Command.cpp defines one and
// registers it with a static Command::Registration, so main() needs no list.
struct Command {
    std::string name;     // "plist", or "ppd info" for a nested one
    std::string summary;  // one line for `kzpde --help`
    std::string usage;    // full help text for `kzpde NAME --help`
    std::function<int(Invocation&)> run;

    static std::map<std::string, Command>& registry();
    // A family is the leading words that nested commands share and that are
    // not a command themselves: "ppd" for "ppd info" and "ppd lists".
    static bool isFamily(const std::string& words);
    static std::vector<std::string> families();
    // The commands whose names start with FAMILY and a space, in name order.
    static std::vector<const Command*> members(const std::string& family);
    // The long options its synopsis (the usage text's first paragraph) names.
    std::vector<std::string> options() const;
    struct Registration {
        explicit Registration(Command command);
    };
};

// True when args holds --help or -h.
bool wantsHelp(const std::vector<std::string>& args);

// Reads the common "FILE [--json]" arguments: exactly one path, in any order
// with the flag. False (a usage error) for no path or more than one.
bool fileAndJsonArgs(const std::vector<std::string>& args, std::string& path, bool& json);

}  // namespace kzpde
