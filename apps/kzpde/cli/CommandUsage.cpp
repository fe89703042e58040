#include "cli/CommandUsage.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <set>

#include "cli/Command.h"

namespace kzpde {

namespace {

constexpr std::size_t kWidth = 100;

bool repeatable(const CLI::Option& option) {
    return option.get_multi_option_policy() == CLI::MultiOptionPolicy::TakeAll || option.get_expected_max() > 1;
}

std::string nameOf(const CLI::Option& option) {
    if (option.get_positional()) return option.get_name(true);
    if (!option.get_lnames().empty()) return "--" + option.get_lnames().front();
    return "-" + option.get_snames().front();
}

bool isHelp(const CLI::Option& option) { return nameOf(option) == "--help"; }

}  // namespace

std::string CommandUsage::word(const CLI::Option& option) {
    std::string text = nameOf(option);
    if (!option.get_positional() && option.get_type_size_max() > 0 && !option.get_type_name().empty())
        text += " " + option.get_type_name();
    return text;
}

std::string CommandUsage::synopsis(const Command& command, const CLI::App& app) {
    std::vector<std::string> words;
    // Positionals first, as they are typed; then the options in the order
    // declared, those that exclude each other in one bracket.
    for (const CLI::Option* option : app.get_options()) {
        if (!option->get_positional()) continue;
        std::string text = word(*option) + (option->get_items_expected_max() > 1 ? "..." : "");
        words.push_back(option->get_required() ? text : "[" + text + "]");
    }
    std::set<const CLI::Option*> done;
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_positional() || isHelp(*option) || done.count(option)) continue;
        std::string text = word(*option);
        for (const CLI::Option* other : option->get_excludes())
            if (!done.count(other)) {
                text += " | " + word(*other);
                done.insert(other);
            }
        done.insert(option);
        if (!option->get_required()) text = "[" + text + "]";
        words.push_back(text + (repeatable(*option) ? "..." : ""));
    }
    // Wrapped under the command's name, as a long synopsis is written by hand.
    const std::string start = "usage: kzpde " + command.name;
    std::string out = start, line = start;
    for (const std::string& w : words) {
        if (line.size() + 1 + w.size() > kWidth && line.size() > start.size()) {
            out += "\n" + std::string(start.size(), ' ');
            line = std::string(start.size(), ' ');
        }
        out += " " + w;
        line += " " + w;
    }
    return out + "\n";
}

std::string CommandUsage::optionTable(const CLI::App& app) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const CLI::Option* option : app.get_options()) {
        std::string names = word(*option);
        if (!option->get_positional() && !option->get_snames().empty() && !option->get_lnames().empty())
            names = "-" + option->get_snames().front() + ", " + names;
        rows.emplace_back(names, option->get_description());
    }
    std::size_t width = 0;
    for (const auto& row : rows) width = std::max(width, row.first.size());
    std::string out;
    for (const auto& [names, description] : rows)
        out += "  " + names + std::string(width + 2 - names.size(), ' ') + description + "\n";
    return out;
}

std::string CommandUsage::help(const Command& command, const CLI::App& app) {
    std::string out = synopsis(command, app) + "\n" + command.description;
    if (!command.description.empty() && command.description.back() != '\n') out += "\n";
    return out + "\narguments and options:\n" + optionTable(app);
}

std::string CommandUsage::message(const CLI::Error& error) {
    // CLI11's messages may span lines; the tool's usage errors are one line.
    std::string text = error.what();
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text.empty() ? std::string("bad arguments") : text;
}

}  // namespace kzpde
