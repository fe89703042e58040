#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

#include "platform/foundation/Log.h"

namespace kz {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const void* owner, std::string name,
                                                               const void* sender, Handler handler) {
    const ObserverId id = _nextId++;
    _observers.push_back(std::make_shared<Observer>(
        Observer{id, owner, std::move(name), sender, std::move(handler)}));
    return id;
}

template <class Pred>
void NotificationCenter::removeIf(Pred pred) {
    // Posts in progress hold their own list of the observers; the flag tells
    // them not to call a removed one.
    auto it = std::remove_if(_observers.begin(), _observers.end(), [&](const std::shared_ptr<Observer>& o) {
        if (!pred(*o)) return false;
        o->removed = true;
        return true;
    });
    _observers.erase(it, _observers.end());
}

void NotificationCenter::removeObserver(const void* owner) {
    removeIf([&](const Observer& o) { return o.owner == owner; });
}

void NotificationCenter::removeObserver(const void* owner, std::string_view name) {
    removeIf([&](const Observer& o) { return o.owner == owner && o.name == name; });
}

void NotificationCenter::removeObserverWithId(ObserverId id) {
    removeIf([&](const Observer& o) { return o.id == id; });
}

void NotificationCenter::post(std::string name, const void* sender, kz::Dictionary userInfo) {
    if (_depth >= kMaxDepth) {
        Log::format("### ## notification \"%s\" dropped: posts nested deeper than %d", name.c_str(), kMaxDepth);
        return;
    }
    std::vector<std::shared_ptr<Observer>> matching;
    for (const auto& o : _observers)
        if ((o->name.empty() || o->name == name) && (!o->sender || o->sender == sender)) matching.push_back(o);
    if (matching.empty()) return;

    const Notification notification{std::move(name), sender, std::move(userInfo)};
    ++_depth;
    struct DepthGuard {
        int& depth;
        ~DepthGuard() { --depth; }
    } guard{_depth};
    for (const auto& o : matching)
        if (!o->removed && o->handler) o->handler(notification);
}

}  // namespace kz
