#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/foundation/Dictionary.h"

namespace ComTORVALEKZ2R4_Plugin {
class PanePlugInMgr;
}

namespace kzpde {

// A print option in the internal form for the commands that show one: the
// manager's defaults, changed by the custom entries of a print settings file
// (as the panel reads them back), then by a favorite's options (its tags
// converted through the convert table). None, with the reason on err, when
// a file given does not read.
std::optional<kz::Dictionary> printOptionFrom(ComTORVALEKZ2R4_Plugin::PanePlugInMgr& mgr,
                                              const std::optional<std::string>& settingsFile,
                                              const std::optional<std::string>& favoriteFile, std::ostream& err);

// A custom entry's text as written (the three escapes undone, "%" last).
std::string unescapeCustomEntry(std::string text);

}  // namespace kzpde
