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
    auto observer = std::make_shared<Observer>(Observer{id, owner, std::move(name), sender, std::move(handler)});
    _byName[observer->name].push_back(observer);
    _byOwner[owner].push_back(observer);
    _byId.emplace(id, std::move(observer));
    return id;
}

namespace {

template <class List, class Item>
void erase(List& list, const Item& observer) {
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

}  // namespace

void NotificationCenter::remove(const std::shared_ptr<Observer>& observer) {
    // Posts in progress hold their own list of the observers; the flag tells
    // them not to call a removed one.
    observer->removed = true;
    if (auto it = _byName.find(observer->name); it != _byName.end()) {
        erase(it->second, observer);
        if (it->second.empty()) _byName.erase(it);
    }
    if (auto it = _byOwner.find(observer->owner); it != _byOwner.end()) {
        erase(it->second, observer);
        if (it->second.empty()) _byOwner.erase(it);
    }
    _byId.erase(observer->id);
}

void NotificationCenter::removeObserver(const void* owner) {
    auto it = _byOwner.find(owner);
    if (it == _byOwner.end()) return;
    const List observers = it->second;
    for (const auto& o : observers) remove(o);
}

void NotificationCenter::removeObserver(const void* owner, std::string_view name) {
    auto it = _byOwner.find(owner);
    if (it == _byOwner.end()) return;
    const List observers = it->second;
    for (const auto& o : observers)
        if (o->name == name) remove(o);
}

void NotificationCenter::removeObserverWithId(ObserverId id) {
    if (auto it = _byId.find(id); it != _byId.end()) remove(std::shared_ptr<Observer>(it->second));
}

void NotificationCenter::post(std::string name, const void* sender, kz::Dictionary userInfo) {
    if (_depth >= kMaxDepth) {
        Log::format("### ## notification \"%s\" dropped: posts nested deeper than %d", name.c_str(), kMaxDepth);
        return;
    }
    static const List kNone;
    auto named = name.empty() ? _byName.end() : _byName.find(name);
    auto every = _byName.find(std::string_view());
    const List& own = named == _byName.end() ? kNone : named->second;
    const List& all = every == _byName.end() ? kNone : every->second;
    if (own.empty() && all.empty()) return;

    // Both lists are in the order added (ascending ids): merged, they give the
    // order of addition across both.
    List matching;
    matching.reserve(own.size() + all.size());
    auto wants = [&](const std::shared_ptr<Observer>& o) { return !o->sender || o->sender == sender; };
    auto i = own.begin(), j = all.begin();
    while (i != own.end() || j != all.end()) {
        const bool takeOwn = j == all.end() || (i != own.end() && (*i)->id < (*j)->id);
        const auto& o = takeOwn ? *i++ : *j++;
        if (wants(o)) matching.push_back(o);
    }
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
