#pragma once

#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

class View;

// What a native bridge implements to mirror a view tree. Every visible change
// of a view (or of a cell or item it shows) is reported with the property's
// name; the bridge reads the new value from the view itself.
class KZ_EXPORT ViewPeer {
public:
    virtual ~ViewPeer() = default;
    virtual void viewChanged(View& view, std::string_view property) = 0;
    virtual void subviewAdded(View& /*parent*/, View& /*child*/) {}
    virtual void subviewRemoved(View& /*parent*/, View& /*child*/) {}
};

}  // namespace kz
