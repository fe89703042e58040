#pragma once

#include <string>

#include "host/HostSession.h"

namespace CLI {
class App;
}

namespace kzpde {

// The options of the tool's print dialog, which `kzpde options` and
// `kzpde print` share: declared once into a HostRequest, described once.
class HostOptions {
public:
    // The request's bundle is the tool's own.
    static void declare(CLI::App& app, HostRequest& request);
    // What the options do, for both commands' help.
    static const char* const kHelp;
};

}  // namespace kzpde
