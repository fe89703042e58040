#pragma once

#include <iosfwd>

namespace kzpde {

// The bash completion script for the tool, made from the Command registry
// at build time: command and family names word by word, a command's long
// options after it, and file names everywhere else.
class BashCompletion {
public:
    static void write(std::ostream& out);
};

}  // namespace kzpde
