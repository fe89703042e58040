#include "platform/kit/Stepper.h"

#include "platform/kit/ViewClassOf.h"

#include <algorithm>
#include <cmath>

namespace kz {

Stepper::Stepper(Rect frame) : Control(frame) { Control::setObjectValue(Value(0.0)); }

void Stepper::setDoubleValue(double value) {
    if (std::isnan(value)) value = _min;
    Control::setObjectValue(Value(std::clamp(value, std::min(_min, _max), std::max(_min, _max))));
}

bool Stepper::step(int direction) {
    if (!isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
    double v = doubleValue() + direction * _increment;
    // A small tolerance keeps decimal steps (0.1, 0.01) from missing an end.
    double eps = std::abs(_increment) * 1e-9;
    if (v > _max + eps) v = _wraps ? _min : _max;
    else if (v < _min - eps) v = _wraps ? _max : _min;
    setDoubleValue(v);
    sendAction();
    return true;
}

const ViewClass& Stepper::described() {
    static const ViewClass c =
        ViewClassOf<Stepper>("Stepper", &Control::described())
            .setter("minValue", PropertyType::Number, [](Stepper& s, const Value& v) { s.setMinValue(ViewLoading::number(v, "minValue")); })
            .setter("maxValue", PropertyType::Number, [](Stepper& s, const Value& v) { s.setMaxValue(ViewLoading::number(v, "maxValue")); })
            // Reported as the real number it is (1.0), unlike the value.
            .property("increment", PropertyType::Number, [](const Stepper& s) { return Value(s.increment()); },
                      [](Stepper& s, const Value& v) { s.setIncrement(ViewLoading::number(v, "increment")); })
            .setter("valueWraps", PropertyType::Bool, [](Stepper& s, const Value& on) { s.setValueWraps(on.boolValue()); })
            .setter("autorepeat", PropertyType::Bool, [](Stepper& s, const Value& on) { s.setAutorepeat(on.boolValue()); })
            .property("value", PropertyType::Number, [](const Stepper& s) { return ViewClass::number(s.doubleValue()); },
                      [](Stepper& s, const Value& v) { s.setDoubleValue(ViewLoading::number(v, "value")); })
            .property("range",
                      [](const Stepper& s) { return Value(Array{ViewClass::number(s.minValue()), ViewClass::number(s.maxValue())}); })
            .shows("value", "value", DumpShape::Number)
            .shows("range", "range", DumpShape::Range)
            .reports("value")
            .reports("range")
            .reports("increment")
            .done();
    return c;
}

}  // namespace kz
