#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/kit/Geometry.h"
#include "platform/kit/ViewClass.h"

namespace kz {

class View;
class ViewOwner;

// A fault in a view description; the loader turns it into its error.
struct ViewLoadError {
    std::string text;
};

// What a class's setters may ask of the loader while it reads the
// description of one view: the description itself (for keys read together),
// its place in the file (for messages), the owner, and views nested in this
// one (tab items, a document view) built like any other.
class KZ_EXPORT ViewLoading {
public:
    virtual ~ViewLoading() = default;
    virtual const Dictionary& description() const = 0;
    // Where the view sits in the description ("view/0/tab1").
    virtual const std::string& path() const = 0;
    virtual ViewOwner* owner() const = 0;
    // A view one level deeper, at path() + place.
    virtual std::shared_ptr<View> build(const Value& description, const std::string& place) = 0;
    // An action name the owner does not answer.
    virtual void unknownAction(const std::string& selector) = 0;

    [[noreturn]] static void fail(std::string text) { throw ViewLoadError{std::move(text)}; }
    [[noreturn]] void failHere(const std::string& what) const { fail(path() + ": " + what); }
    // A finite number, or a fault named after `what`.
    static double number(const Value& value, const std::string& what);
    // [x, y, width, height], or a fault named after `what`.
    static Rect rect(const Value& value, const std::string& what);
    // A key of a nested dictionary (an item, a cell), null when missing or
    // of another type.
    static const Value* get(const Dictionary& d, std::string_view key, PropertyType type);
    static bool flag(const Dictionary& d, std::string_view key, bool& out);
};

}  // namespace kz
