// The commands and families of the built kzpde, read from its own overview,
// so that the tool tests cover a new command without being told.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "../support/ToolRun.h"

// Every command name `kzpde --help` lists, in its order.
inline std::vector<std::string> registeredCommands() {
    std::vector<std::string> names;
    ToolRun r = runKzpde("--help");
    bool inTable = false;
    std::size_t start = 0;
    for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = r.out.substr(start, end - start);
        if (line == "commands:") inTable = true;
        else if (line.empty()) inTable = false;
        else if (inTable && line.rfind("  ", 0) == 0) names.push_back(line.substr(2, line.find("  ", 2) - 2));
    }
    return names;
}

// The leading words of nested commands that are no command themselves.
inline std::set<std::string> familiesOf(const std::vector<std::string>& commands) {
    std::set<std::string> families;
    const std::set<std::string> known(commands.begin(), commands.end());
    for (const std::string& name : commands)
        for (std::size_t space = name.find(' '); space != std::string::npos; space = name.find(' ', space + 1))
            if (!known.count(name.substr(0, space))) families.insert(name.substr(0, space));
    return families;
}

// The commands in FAMILY.
inline std::vector<std::string> membersOf(const std::vector<std::string>& commands, const std::string& family) {
    std::vector<std::string> members;
    for (const std::string& name : commands)
        if (name.rfind(family + " ", 0) == 0) members.push_back(name);
    return members;
}
