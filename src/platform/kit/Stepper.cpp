#include "platform/kit/Stepper.h"

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

}  // namespace kz
