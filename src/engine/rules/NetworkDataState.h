#pragma once

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// What the rule engine asks of the pane plug-in manager: whether every pane
// has been shown once and the server-provided lists are in. Until then the
// options' values are not final, so conflicts that cannot be resolved are
// not looked for.
class KZ_EXPORT NetworkDataState {
public:
    virtual ~NetworkDataState() = default;
    virtual bool isInitializedNetworkData() const = 0;
};

}  // namespace ComTORVALEKZ2R4_Plugin
