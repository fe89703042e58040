#include "Command.h"

#include <algorithm>
#include <regex>
#include <set>

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

std::vector<std::string> Command::options() const {
    static const std::regex option("--[a-z][a-z0-9-]*");
    const std::string synopsis = usage.substr(0, usage.find("\n\n"));
    std::set<std::string> found{"--help"};
    for (auto it = std::sregex_iterator(synopsis.begin(), synopsis.end(), option); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return {found.begin(), found.end()};
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
