#include "platform/kit/Slider.h"

#include "platform/kit/ViewClassOf.h"

#include <algorithm>
#include <cmath>

namespace kz {

Slider::Slider(Rect frame) : Control(frame) { Control::setObjectValue(Value(0.0)); }

void Slider::setMinValue(double v) {
    _min = v;
    setDoubleValue(doubleValue());
    changed("minValue");
}

void Slider::setMaxValue(double v) {
    _max = v;
    setDoubleValue(doubleValue());
    changed("maxValue");
}

void Slider::setNumberOfTickMarks(int count) {
    count = std::max(count, 0);
    if (count == _ticks) return;
    _ticks = count;
    changed("numberOfTickMarks");
}

void Slider::setTickMarkPosition(TickMarkPosition p) {
    if (p == _tickPosition) return;
    _tickPosition = p;
    changed("tickMarkPosition");
}

void Slider::setAllowsTickMarkValuesOnly(bool on) {
    _ticksOnly = on;
    setDoubleValue(doubleValue());
}

double Slider::tickMarkValueAtIndex(int index) const {
    if (_ticks <= 1) return _min;
    index = std::clamp(index, 0, _ticks - 1);
    return _min + (_max - _min) * index / (_ticks - 1);
}

double Slider::closestTickMarkValueToValue(double value) const {
    if (_ticks <= 1 || _max == _min) return _ticks == 1 ? _min : value;
    double step = (_max - _min) / (_ticks - 1);
    return tickMarkValueAtIndex(static_cast<int>(std::lround((value - _min) / step)));
}

void Slider::setDoubleValue(double value) {
    if (std::isnan(value)) value = _min;
    double lo = std::min(_min, _max), hi = std::max(_min, _max);
    value = std::clamp(value, lo, hi);
    if (_ticksOnly && _ticks > 0) value = closestTickMarkValueToValue(value);
    Control::setObjectValue(Value(value));
}

bool Slider::moveTo(double value) {
    if (!isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
    setDoubleValue(value);
    sendAction();
    return true;
}

const ViewClass& Slider::described() {
    static const ViewClass c =
        ViewClassOf<Slider>("Slider", &Control::described())
            .setter("minValue", PropertyType::Number, [](Slider& s, const Value& v) { s.setMinValue(ViewLoading::number(v, "minValue")); })
            .setter("maxValue", PropertyType::Number, [](Slider& s, const Value& v) { s.setMaxValue(ViewLoading::number(v, "maxValue")); })
            .setter("numberOfTickMarks", PropertyType::Integer,
                    [](Slider& s, const Value& v) { s.setNumberOfTickMarks(std::clamp(v.intValue(), 0, 1000)); })
            .setter("allowsTickMarkValuesOnly", PropertyType::Bool,
                    [](Slider& s, const Value& on) { s.setAllowsTickMarkValuesOnly(on.boolValue()); })
            .setter("altIncrementValue", PropertyType::Number,
                    [](Slider& s, const Value& v) { s.setAltIncrementValue(ViewLoading::number(v, "altIncrementValue")); })
            // After the range, so that the value is kept within it.
            .property("value", PropertyType::Number, [](const Slider& s) { return ViewClass::number(s.doubleValue()); },
                      [](Slider& s, const Value& v) { s.setDoubleValue(ViewLoading::number(v, "value")); })
            .property("range",
                      [](const Slider& s) { return Value(Array{ViewClass::number(s.minValue()), ViewClass::number(s.maxValue())}); })
            .property("ticks", [](const Slider& s) { return Value(s.numberOfTickMarks()); })
            .shows("value", "value", DumpShape::Number)
            .shows("range", "range", DumpShape::Range)
            .shows("ticks", "ticks", DumpShape::Number)
            .reports("value")
            .reports("range")
            .reports("ticks")
            .done();
    return c;
}

}  // namespace kz
