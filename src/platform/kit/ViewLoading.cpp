#include "platform/kit/ViewLoading.h"

#include <cmath>

namespace kz {

double ViewLoading::number(const Value& v, const std::string& what) {
    if (!v.isNumber()) fail(what + ": not a number");
    double d = v.doubleValue();
    if (!std::isfinite(d)) fail(what + ": not a finite number");
    return d;
}

Rect ViewLoading::rect(const Value& v, const std::string& what) {
    if (!v.isArray() || v.array().size() != 4) fail(what + ": frame must be [x, y, width, height]");
    const Array& a = v.array();
    return Rect(number(a[0], what), number(a[1], what), number(a[2], what), number(a[3], what));
}

const Value* ViewLoading::get(const Dictionary& d, std::string_view key, PropertyType type) {
    const Value* v = d.find(key);
    return v && ViewClass::accepts(type, *v) ? v : nullptr;
}

bool ViewLoading::flag(const Dictionary& d, std::string_view key, bool& out) {
    const Value* v = get(d, key, PropertyType::Bool);
    if (!v) return false;
    out = v->boolValue();
    return true;
}

}  // namespace kz
