#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/kit/ViewOwner.h"

namespace kz {

class View;
class Window;

// Instantiates a view description: a property list whose root holds a
// "window" (class, title, frame, contentView) or a "view". Each view gives
// "class", "frame" [x, y, w, h], and as it needs "title", "tag", "toolTip",
// "action", "outlet", "hidden", "enabled", "subviews", "tabItems", "cells",
// "items" and the widget's own keys. Descriptions are untrusted: depth and
// number of views are bounded and every fault is an error, never a crash.
class KZ_EXPORT ViewLoader {
public:
    static constexpr int kMaxDepth = 32;
    static constexpr int kMaxViews = 5000;

    struct Result {
        std::shared_ptr<Window> window;  // when the description has one
        std::shared_ptr<View> view;      // the window's content view, or the "view"
        std::vector<std::string> unconnectedOutlets;
        std::vector<std::string> unknownActions;
    };

    static std::optional<Result> loadFile(const std::string& path, ViewOwner* owner, std::string* error = nullptr);
    static std::optional<Result> load(const Value& description, ViewOwner* owner, std::string* error = nullptr);

    // Classes the engine adds (its text fields, the borderless panel).
    using ViewFactory = std::function<std::shared_ptr<View>()>;
    using WindowFactory = std::function<std::shared_ptr<Window>(const Value& description)>;
    static void registerViewClass(const std::string& name, ViewFactory factory);
    static void registerWindowClass(const std::string& name, WindowFactory factory);

    // The host application's own awake-from-nib handler, which runs for every
    // loaded object unless a guard is in place.
    using HostAwakeHandler = std::function<void(const void* object)>;
    static void setHostAwakeHandler(HostAwakeHandler handler);
    static const HostAwakeHandler& hostAwakeHandler();

    // While alive, the host's handler is replaced by one that does nothing;
    // the handler is back in place when it dies, also through an exception.
    class KZ_EXPORT HostAwakeGuard {
    public:
        HostAwakeGuard();
        ~HostAwakeGuard();
        HostAwakeGuard(const HostAwakeGuard&) = delete;
        HostAwakeGuard& operator=(const HostAwakeGuard&) = delete;

    private:
        HostAwakeHandler _saved;
    };
};

}  // namespace kz
