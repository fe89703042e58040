#pragma once

#include <iosfwd>
#include <string>

namespace kzpde {

// The tool's manual page in roff, made from the Command registry at build
// time, so that it names every command with the help text the tool prints.
class ManPage {
public:
    static void write(std::ostream& out, const std::string& version);
    // TEXT made safe for roff: backslashes and hyphens escaped, no line
    // starting with a control character.
    static std::string escaped(const std::string& text);
};

}  // namespace kzpde
