#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace kz {

class View;
class ViewLoading;

// What a view description must give under a key for its setter to take it;
// a value of another kind is passed over, as if the key were missing.
enum class PropertyType { Any, Bool, Integer, Number, String, Array, Dictionary };

// How the text dump writes a shown property after the frame.
enum class DumpShape {
    Text,        // label="text"; nothing reads as ""
    TextIfAny,   // the same, left out when empty
    Name,        // label=word
    Number,      // label=12, label=0.5
    Word,        // the bare label, when true
    WordUnless,  // the bare label, when false
    Range,       // label=min..max from [min, max]
    Pair,        // label=a,b from [a, b]
    Sized,       // label="name" WxH from the text and a size property [w, h]
    Entries,     // label=["text", ...]: see ViewDump
    Indexes,     // label=[1,2]
};

// What a view class is, told once: its name, its base class, how to make
// one, and its properties by name with a type, a getter and a setter. The
// loader sets properties from view descriptions, the text dump and the
// reports read them, a mirror in another toolkit formats what it reads
// through the same table. Each class's table is a function-local static
// built on first use (so a base's table is always there before its
// subclass's), through ViewClassOf.
class KZ_EXPORT ViewClass {
public:
    using Factory = std::function<std::shared_ptr<View>()>;
    // Absent (nullopt) when the view has no such value now; null is a value.
    using Getter = std::function<std::optional<Value>(const View&)>;
    using Setter = std::function<void(View&, const Value&, ViewLoading&)>;
    using Hook = std::function<void(View&, ViewLoading&)>;
    using Container = std::function<View&(View&)>;

    struct Property {
        std::string name;
        PropertyType type = PropertyType::Any;
        Getter get;
        Setter set;
    };
    // A property in the text dump: under which label and in what shape.
    struct Shown {
        std::string label;
        std::string property;
        DumpShape shape = DumpShape::Text;
        std::string sizeProperty;  // for DumpShape::Sized
    };

    ViewClass(std::string name, const ViewClass* base, Factory make);

    const std::string& name() const { return _name; }
    const ViewClass* base() const { return _base; }
    bool isKindOf(const ViewClass& other) const;
    // Null when descriptions cannot name the class (a part another view makes).
    std::shared_ptr<View> make() const { return _make ? _make() : nullptr; }
    bool canMake() const { return static_cast<bool>(_make); }
    const std::vector<Property>& ownProperties() const { return _properties; }

    // A number as getters answer it: whole numbers as integers, so that
    // reports print them without a fraction.
    static Value number(double d);
    // A getter's value as present (out of line: inlined, the move into the
    // optional trips a false uninitialised-use warning of the compiler).
    static std::optional<Value> present(const Value& value);
    // Whether a description's value is of the type.
    static bool accepts(PropertyType type, const Value& value);

    // Sets the view from the loading's description: every class from View
    // down, each its setters in the order declared and then its hook.
    void load(View& view, ViewLoading& loading) const;
    // Where a description's subviews go (a box's content view).
    View& subviewParent(View& view) const;

    // The value of the nearest class's getter of that name.
    std::optional<Value> value(const View& view, std::string_view property) const;
    // The text dump's properties: the class's own first, then its base's,
    // less those a subclass hides.
    std::vector<Shown> shown() const;
    // The properties a report of the view carries, in the same order.
    std::vector<std::string> reported() const;

    // Building a class (ViewClassOf does it).
    void addProperty(Property property) { _properties.push_back(std::move(property)); }
    void addShown(Shown shown) { _shown.push_back(std::move(shown)); }
    void addReported(std::string property) { _reported.push_back(std::move(property)); }
    void hide(std::string property) { _hidden.insert(std::move(property)); }
    void setLoadedHook(Hook hook) { _loaded = std::move(hook); }
    void setContainer(Container container) { _container = std::move(container); }
    void setFactory(Factory make) { _make = std::move(make); }

private:
    std::string _name;
    const ViewClass* _base;
    Factory _make;
    std::vector<Property> _properties;
    std::vector<Shown> _shown;
    std::vector<std::string> _reported;
    std::set<std::string, std::less<>> _hidden;
    Hook _loaded;
    Container _container;
};

}  // namespace kz
