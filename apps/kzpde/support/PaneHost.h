#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Log.h"

namespace kz {
class Bundle;
}
namespace ComTORVALEKZ2R4_Plugin {
class PanePlugInMgr;
}

namespace kzpde {

// The plug-in bundle made the principal bundle as the panel would make it,
// and the pane plug-in manager over it; the manager is destroyed again
// when this ends. Log lines written meanwhile are kept for the caller.
class PaneHost {
public:
    // False (with a message on err) when the folder is no bundle.
    bool open(const std::string& bundlePath, std::ostream& err);
    ~PaneHost();

    ComTORVALEKZ2R4_Plugin::PanePlugInMgr& manager();
    // The manager with every pane loaded and every pane's view made, as the
    // panel makes them: a pane's option controls exist only once its view
    // is loaded, so defaults, trees and previews need all of them.
    ComTORVALEKZ2R4_Plugin::PanePlugInMgr& managerWithPaneViews();
    const std::vector<std::string>& logLines() const { return _log.lines(); }

private:
    std::shared_ptr<kz::Bundle> _bundle;
    kz::LogCapture _log;
};

// A print option as a JSON object, from the file or (without one) standard
// input: texts stay texts, booleans become "True"/"False", numbers their
// text; other values are left out. None with a message on err.
std::optional<kz::Dictionary> readPrintOption(const std::optional<std::string>& file, std::istream& in,
                                              std::ostream& err);

}  // namespace kzpde
