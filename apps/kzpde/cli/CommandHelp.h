#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kzpde {

struct Command;

// The tool's own help texts, made from the Command registry so that every
// command and every family of commands is described without a list to keep.
class CommandHelp {
public:
    // `kzpde --help`: every command with its summary.
    static void overview(std::ostream& out);
    // `kzpde FAMILY --help` and a bare `kzpde FAMILY`: the family's commands.
    static void family(std::ostream& out, const std::string& family);

private:
    static void table(std::ostream& out, const std::vector<const Command*>& commands);
};

}  // namespace kzpde
