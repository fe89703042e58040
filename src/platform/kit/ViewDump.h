#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/kit/Geometry.h"

namespace kz {

class View;
class ViewClass;
class Window;

// A text rendering of a window or view tree, one line per view: class,
// frame, title or value, flags and selection. Snapshot tests compare it and
// the tool prints it to show a panel in a terminal.
class KZ_EXPORT ViewDump {
public:
    static std::string dump(const Window& window);
    static std::string dump(const View& view, int indent = 0);
    // The same as a tree of dictionaries for JSON output: "class", "frame",
    // "details" (the rest of the text line), "enabled", "hidden",
    // "subviews"; a window gives "title", "visible" and "contentView".
    static Value toValue(const Window& window);
    static Value toValue(const View& view);

    // What the line shows after the frame ("" when nothing): the class's
    // shown properties in the shapes its description gives, each read
    // through valueOf (a mirror reads them from its own widgets).
    using ValueOf = std::function<std::optional<Value>(std::string_view property)>;
    static std::string details(const ViewClass& viewClass, const ValueOf& valueOf);
    static std::string details(const View& view);

    // The pieces of a line, for any other writer of this format (a mirror of
    // the tree in another toolkit), so that both write numbers, texts and
    // frames alike: whole numbers without a point, texts in quotes with
    // quotes, backslashes, newlines and tabs escaped, "[x y w h]".
    static std::string number(double d);
    static std::string quoted(const std::string& s);
    static std::string frame(const Rect& r);
};

}  // namespace kz
