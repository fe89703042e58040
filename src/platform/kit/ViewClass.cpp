#include "platform/kit/ViewClass.h"

#include <cmath>

#include "platform/kit/View.h"
#include "platform/kit/ViewLoading.h"

namespace kz {

ViewClass::ViewClass(std::string name, const ViewClass* base, Factory make)
    : _name(std::move(name)), _base(base), _make(std::move(make)) {}

bool ViewClass::isKindOf(const ViewClass& other) const {
    for (const ViewClass* c = this; c; c = c->_base)
        if (c == &other) return true;
    return false;
}

Value ViewClass::number(double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::abs(d) < 1e15) return Value(static_cast<long long>(d));
    return Value(d);
}

std::optional<Value> ViewClass::present(const Value& value) { return value; }

bool ViewClass::accepts(PropertyType type, const Value& value) {
    switch (type) {
    case PropertyType::Any: return true;
    case PropertyType::Bool: return value.isBoolean();
    case PropertyType::Integer: return value.type() == Value::Type::Integer;
    case PropertyType::Number: return value.isNumber();
    case PropertyType::String: return value.isString();
    case PropertyType::Array: return value.isArray();
    case PropertyType::Dictionary: return value.isDictionary();
    }
    return false;
}

void ViewClass::load(View& view, ViewLoading& loading) const {
    if (_base) _base->load(view, loading);
    const Dictionary& d = loading.description();
    for (const Property& p : _properties) {
        if (!p.set) continue;
        const Value* v = d.find(p.name);
        if (v && accepts(p.type, *v)) p.set(view, *v, loading);
    }
    if (_loaded) _loaded(view, loading);
}

View& ViewClass::subviewParent(View& view) const {
    for (const ViewClass* c = this; c; c = c->_base)
        if (c->_container) return c->_container(view);
    return view;
}

std::optional<Value> ViewClass::value(const View& view, std::string_view property) const {
    for (const ViewClass* c = this; c; c = c->_base)
        for (const Property& p : c->_properties)
            if (p.get && p.name == property) return p.get(view);
    return std::nullopt;
}

std::vector<ViewClass::Shown> ViewClass::shown() const {
    std::vector<Shown> out;
    std::set<std::string, std::less<>> hidden;
    for (const ViewClass* c = this; c; c = c->_base) {
        for (const Shown& s : c->_shown)
            if (!hidden.contains(s.property)) out.push_back(s);
        hidden.insert(c->_hidden.begin(), c->_hidden.end());
    }
    return out;
}

std::vector<std::string> ViewClass::reported() const {
    std::vector<std::string> out;
    std::set<std::string, std::less<>> hidden;
    for (const ViewClass* c = this; c; c = c->_base) {
        for (const std::string& r : c->_reported)
            if (!hidden.contains(r)) out.push_back(r);
        hidden.insert(c->_hidden.begin(), c->_hidden.end());
    }
    return out;
}

}  // namespace kz
