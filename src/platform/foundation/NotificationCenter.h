#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace kz {

// Synchronous, name-based notifications on the main thread. A post calls every
// matching observer before it returns, in the order they were added; a post
// made from inside an observer is delivered at once (depth first), before the
// outer post goes on to its next observer.
//
// Changing the observers during delivery is safe: an observer removed while a
// post is being delivered is not called by it afterwards, and one added during
// delivery is first called by the next post.
class KZ_EXPORT NotificationCenter {
public:
    struct Notification {
        std::string name;
        const void* sender = nullptr;
        kz::Dictionary userInfo;
    };
    using ObserverId = std::uint64_t;
    using Handler = std::function<void(const Notification&)>;

    // Nested posts deeper than this are dropped with a log line: observers that
    // post each other endlessly would otherwise overflow the stack.
    static constexpr int kMaxDepth = 256;

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    static NotificationCenter& defaultCenter();

    // `owner` identifies the observer for removal. An empty name observes all
    // names; a null sender observes every sender.
    ObserverId addObserver(const void* owner, std::string name, const void* sender, Handler handler);
    void removeObserver(const void* owner);
    void removeObserver(const void* owner, std::string_view name);
    void removeObserverWithId(ObserverId id);

    void post(std::string name, const void* sender = nullptr, kz::Dictionary userInfo = {});

    std::size_t observerCount() const { return _byId.size(); }

private:
    struct Observer {
        ObserverId id;
        const void* owner;
        std::string name;
        const void* sender;
        Handler handler;
        bool removed = false;
    };
    using List = std::vector<std::shared_ptr<Observer>>;  // in the order added
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // A post looks up its own name and the observers of every name (key ""),
    // so it costs what its observers cost, however many others there are.
    std::unordered_map<std::string, List, NameHash, std::equal_to<>> _byName;
    std::unordered_map<const void*, List> _byOwner;
    std::map<ObserverId, std::shared_ptr<Observer>> _byId;
    ObserverId _nextId = 1;
    int _depth = 0;

    void remove(const std::shared_ptr<Observer>& observer);
};

}  // namespace kz
