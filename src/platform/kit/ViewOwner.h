#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

class Control;
class View;
class Window;

// The object a view description is loaded for: it takes its outlets by name
// and answers the handlers of action names.
class KZ_EXPORT ViewOwner {
public:
    virtual ~ViewOwner() = default;
    // False when the owner has no outlet of that name.
    virtual bool connectOutlet(std::string_view /*name*/, const std::shared_ptr<View>& /*view*/) { return false; }
    virtual bool connectWindowOutlet(const std::shared_ptr<Window>& /*window*/) { return false; }
    // The handler for a selector ("selectFavorite:"); empty when there is none.
    virtual std::function<void(Control&)> actionForSelector(std::string_view /*selector*/) { return {}; }
    // After every object of the description is made and connected.
    virtual void awakeFromNib() {}

protected:
    // For connectOutlet: the outlet takes the view when it is a T; false
    // (and the outlet emptied) when it is of another kind.
    template <class T>
    static bool takeOutlet(std::shared_ptr<T>& outlet, const std::shared_ptr<View>& view) {
        outlet = std::dynamic_pointer_cast<T>(view);
        return outlet != nullptr;
    }
};

// A view that wants to hear when the description it came from is loaded.
class KZ_EXPORT AwakeFromNib {
public:
    virtual ~AwakeFromNib() = default;
    virtual void awakeFromNib() = 0;
};

}  // namespace kz
