#pragma once

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/kit/ViewClass.h"
#include "platform/kit/ViewLoading.h"

namespace kz {

// Builds the ViewClass of the view class V with getters and setters that
// take a V, so that a class's table reads as a list:
//
//   static const ViewClass c = ViewClassOf<Slider>("Slider", &Control::described())
//       .property("minValue", PropertyType::Number, {}, [](Slider& s, const Value& v, ViewLoading&) {...})
//       .property("ticks", [](const Slider& s) { return Value(s.numberOfTickMarks()); })
//       .shows("ticks", "ticks", DumpShape::Number)
//       .done();
//
// A getter answers a Value, or an optional one when the view may have none;
// a setter takes (V&, const Value&) or (V&, const Value&, ViewLoading&).
// The properties a V is given are only ever read from a V (or a subclass):
// a view's description is the one its viewClass() answers.
template <class V>
class ViewClassOf {
public:
    // A class descriptions can name; made with its default constructor.
    ViewClassOf(std::string name, const ViewClass* base) : _class(std::move(name), base, defaultFactory()) {}

    // Made otherwise (set up as loaded), or not at all (nullptr: a part
    // another view makes).
    ViewClassOf& madeBy(ViewClass::Factory make) {
        _class.setFactory(std::move(make));
        return *this;
    }

    template <class Get, class Set>
    ViewClassOf& property(std::string name, PropertyType type, Get get, Set set) {
        _class.addProperty({std::move(name), type, getter(std::move(get)), setter(std::move(set))});
        return *this;
    }
    // Read only: what the dump and reports show.
    template <class Get>
    ViewClassOf& property(std::string name, Get get) {
        _class.addProperty({std::move(name), PropertyType::Any, getter(std::move(get)), {}});
        return *this;
    }
    // Write only: a key of view descriptions.
    template <class Set>
    ViewClassOf& setter(std::string name, PropertyType type, Set set) {
        _class.addProperty({std::move(name), type, {}, setter(std::move(set))});
        return *this;
    }

    ViewClassOf& shows(std::string label, std::string property, DumpShape shape, std::string sizeProperty = {}) {
        _class.addShown({std::move(label), std::move(property), shape, std::move(sizeProperty)});
        return *this;
    }
    ViewClassOf& reports(std::string property) {
        _class.addReported(std::move(property));
        return *this;
    }
    // A property of a base class this class neither shows nor reports.
    ViewClassOf& hides(std::string property) {
        _class.hide(std::move(property));
        return *this;
    }
    // Keys read together, after the class's setters.
    template <class F>
    ViewClassOf& whenLoaded(F hook) {
        _class.setLoadedHook([hook = std::move(hook)](View& v, ViewLoading& l) { hook(static_cast<V&>(v), l); });
        return *this;
    }
    // Where a description's subviews go.
    template <class F>
    ViewClassOf& subviewsIn(F container) {
        _class.setContainer([container = std::move(container)](View& v) -> View& { return container(static_cast<V&>(v)); });
        return *this;
    }

    ViewClass done() { return std::move(_class); }

private:
    static ViewClass::Factory defaultFactory() {
        if constexpr (std::is_default_constructible_v<V>)
            return [] { return std::make_shared<V>(); };
        else
            return {};
    }
    template <class Get>
    static ViewClass::Getter getter(Get get) {
        if constexpr (std::is_same_v<Get, std::nullptr_t>)
            return {};
        else
            return [get = std::move(get)](const View& v) -> std::optional<Value> {
                if constexpr (std::is_same_v<std::invoke_result_t<Get, const V&>, std::optional<Value>>)
                    return get(static_cast<const V&>(v));
                else
                    return ViewClass::present(get(static_cast<const V&>(v)));
            };
    }
    template <class Set>
    static ViewClass::Setter setter(Set set) {
        if constexpr (std::is_same_v<Set, std::nullptr_t>)
            return {};
        else if constexpr (std::is_invocable_v<Set, V&, const Value&, ViewLoading&>)
            return [set = std::move(set)](View& v, const Value& value, ViewLoading& l) { set(static_cast<V&>(v), value, l); };
        else
            return [set = std::move(set)](View& v, const Value& value, ViewLoading&) { set(static_cast<V&>(v), value); };
    }

    ViewClass _class;
};

}  // namespace kz
