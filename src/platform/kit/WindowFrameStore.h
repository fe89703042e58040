#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Export.h"
#include "platform/kit/Geometry.h"

namespace kz {

// Window frames saved under a name, kept across runs in a property list in
// the user's configuration folder ($XDG_CONFIG_HOME, else ~/.config, then
// "kzpde/WindowFrames.plist"). The file is read at every lookup, so several
// processes and a changed folder (tests) see the same frames.
class KZ_EXPORT WindowFrameStore {
public:
    // Empty when there is neither a configuration folder nor a home.
    static std::string path();
    // Nothing for an unknown name or a damaged entry.
    static std::optional<Rect> frame(const std::string& name);
    // False when the file cannot be written.
    static bool save(const std::string& name, const Rect& frame);
    static bool remove(const std::string& name);
};

}  // namespace kz
