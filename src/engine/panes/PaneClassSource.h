#pragma once

#include <memory>
#include <string>

#include "engine/panes/PanePlugInInterface.h"
#include "platform/foundation/Export.h"

namespace kz {
class Bundle;
}

namespace ComTORVALEKZ2R4_Plugin {

// Where the manager gets a pane bundle's principal object from: a class
// registered in-process under the bundle's NSPrincipalClass, else the
// bundle's own library through its exported factory. Nothing here throws
// or crashes on a bad bundle; it answers null with the reason.
class KZ_EXPORT PaneClassSource {
public:
    static std::shared_ptr<PaneObject> newPrincipalObject(kz::Bundle& bundle, std::string& reason);
};

}  // namespace ComTORVALEKZ2R4_Plugin
