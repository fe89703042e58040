#pragma once

#include <string>

namespace kzpde {

// Where the tool finds the plug-in bundle it hosts. Both places are relative
// to the executable itself (/proc/self/exe), so an installed tree works from
// any prefix and after being moved, with no environment variable and no path
// into the tree it was built in:
//   installed:   <prefix>/bin/kzpde -> <prefix>/lib/kzpde/KZPrintServer.plugin
//   build tree:  <build>/apps/kzpde/kzpde -> <build>/KZPrintServer.plugin
// The installed layout wins; the first folder with a Contents folder is used.
class BundleLocation {
public:
    // The bundle folder; when neither place holds one, the installed place, so
    // that the error a caller reports names where the bundle belongs.
    static const std::string& path();
    // The same search for an executable at EXECUTABLE (an absolute path).
    static std::string forExecutable(const std::string& executable);
};

}  // namespace kzpde
