#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kzpde {

// The log lines a command captured are its reason when it fails: they are
// told on standard error then, and only then, so that a command that went
// well prints nothing there. Lines already on standard error (--verbose,
// KZ_LOG=stderr) are not told twice.
class FailureLog {
public:
    // Tells the LINES that start with PREFIX when STATUS is not 0.
    static void tell(int status, const std::vector<std::string>& lines, std::ostream& err,
                     std::string_view prefix = {});
};

}  // namespace kzpde
