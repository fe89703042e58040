#include "Command.h"

#include <algorithm>

namespace kzpde {

std::map<std::string, Command>& Command::registry() {
    static std::map<std::string, Command> commands;
    return commands;
}

Command::Registration::Registration(Command command) {
    std::string key = command.name;
    registry().emplace(std::move(key), std::move(command));
}

bool wantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

bool fileAndJsonArgs(const std::vector<std::string>& args, std::string& path, bool& json) {
    path.clear();
    json = false;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (path.empty()) {
            path = arg;
        } else {
            return false;
        }
    }
    return !path.empty();
}

}  // namespace kzpde
