#include "cli/BashCompletion.h"

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/Command.h"

namespace kzpde {

namespace {

// The words that may follow PREFIX ("" for the first word): the next word of
// every command name that starts with it.
std::string nextWords(const std::string& prefix) {
    std::set<std::string> words;
    for (const auto& [name, command] : Command::registry()) {
        if (!prefix.empty() && name.rfind(prefix + " ", 0) != 0) continue;
        const std::size_t start = prefix.empty() ? 0 : prefix.size() + 1;
        words.insert(name.substr(start, name.find(' ', start) - start));
    }
    std::string joined;
    for (const std::string& word : words) joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

std::string joined(const std::vector<std::string>& words) {
    std::string result;
    for (const std::string& word : words) result += (result.empty() ? "" : " ") + word;
    return result;
}

}  // namespace

void BashCompletion::write(std::ostream& out) {
    out << "# bash completion for kzpde, made from the commands' declarations when it was built.\n"
        << "_kzpde() {\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]} path= words= options= i\n"
        << "    for ((i = 1; i < COMP_CWORD; i++)); do path+=${path:+ }${COMP_WORDS[i]}; done\n"
        << "    case $path in\n"
        << "        '') words='" << nextWords("") << " --help --version' ;;\n";
    for (const std::string& family : Command::families())
        out << "        '" << family << "') words='" << nextWords(family) << " --help' ;;\n";
    // Longer names first, so that a command inside another's words wins.
    std::vector<const Command*> commands;
    for (const auto& [name, command] : Command::registry()) commands.push_back(&command);
    std::stable_sort(commands.begin(), commands.end(),
                     [](const Command* a, const Command* b) { return a->name.size() > b->name.size(); });
    // A command that also begins longer commands ("panes", "panes tree")
    // offers their next words as well as its options.
    for (const Command* command : commands) {
        out << "        '" << command->name << "'|'" << command->name << " '*) options='" << joined(command->options())
            << "'";
        const std::string more = nextWords(command->name);
        if (!more.empty()) out << "; [[ $path == '" << command->name << "' ]] && words='" << more << "'";
        out << " ;;\n";
    }
    out << "    esac\n"
        << "    if [[ -n $options && ( $cur == -* || -z $words ) ]]; then\n"
        << "        [[ $cur == -* ]] && COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        << "    elif [[ -n $words ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
        << "    fi\n"
        << "}\n"
        << "complete -o default -F _kzpde kzpde\n";
}

}  // namespace kzpde
