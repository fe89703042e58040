#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

class Control;
class View;
class Window;

// The object a view description is loaded for: it takes its outlets by name
// and answers the handlers of action names. An owner declares both once, as
// tables (outlets(), actions()); the lookups below read them.
class KZ_EXPORT ViewOwner {
public:
    virtual ~ViewOwner() = default;
    // False when the owner has no outlet of that name, or the view is not of
    // the outlet's kind (the outlet is emptied then).
    virtual bool connectOutlet(std::string_view name, const std::shared_ptr<View>& view) {
        for (const Outlet& outlet : outlets())
            if (outlet.name == name) return outlet.take(*this, view);
        return false;
    }
    virtual bool connectWindowOutlet(const std::shared_ptr<Window>& /*window*/) { return false; }
    // The handler for a selector ("selectFavorite:"); empty when there is none.
    virtual std::function<void(Control&)> actionForSelector(std::string_view selector) {
        for (const Action& action : actions())
            if (action.selector == selector) return action.bind(*this);
        return {};
    }
    // After every object of the description is made and connected.
    virtual void awakeFromNib() {}

protected:
    // One outlet: the name a description gives it and how the owner takes the view.
    struct Outlet {
        std::string_view name;
        std::function<bool(ViewOwner&, const std::shared_ptr<View>&)> take;
    };
    // One action: its selector and how a handler is bound to the owner.
    struct Action {
        std::string_view selector;
        std::function<std::function<void(Control&)>(ViewOwner&)> bind;
    };
    // The owner's tables; a subclass keeps them in function-local statics, so
    // they are built once for the class, not once an object.
    virtual std::span<const Outlet> outlets() const { return {}; }
    virtual std::span<const Action> actions() const { return {}; }

    // An outlet held in `member`, which takes the view when it is a T.
    template <class Owner, class T>
    static Outlet outlet(std::string_view name, std::shared_ptr<T> Owner::*member) {
        return {name, [member](ViewOwner& owner, const std::shared_ptr<View>& view) {
                    return takeOutlet(static_cast<Owner&>(owner).*member, view);
                }};
    }
    // An action whose handler runs on the owner, which outlives its views.
    template <class Owner>
    static Action action(std::string_view selector, void (Owner::*handler)(Control*)) {
        return {selector, [handler](ViewOwner& base) -> std::function<void(Control&)> {
                    auto* owner = &static_cast<Owner&>(base);
                    return [owner, handler](Control& sender) { (owner->*handler)(&sender); };
                }};
    }
    // An action for a shared owner whose views may outlive it (a host keeps a
    // panel's view after it let the panel go): the handler then does nothing.
    template <class Owner>
    static Action weakAction(std::string_view selector, void (Owner::*handler)(Control*)) {
        return {selector, [handler](ViewOwner& base) -> std::function<void(Control&)> {
                    std::weak_ptr<Owner> weak = static_cast<Owner&>(base).weak_from_this();
                    return [weak, handler](Control& sender) {
                        if (auto owner = weak.lock()) (owner.get()->*handler)(&sender);
                    };
                }};
    }

    // The outlet takes the view when it is a T; false (and the outlet
    // emptied) when it is of another kind.
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
