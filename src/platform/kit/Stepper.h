#pragma once

#include "platform/kit/Control.h"

namespace kz {

// Arrows that step a number through a range.
class KZ_EXPORT Stepper : public Control {
public:
    explicit Stepper(Rect frame = {});
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    double minValue() const { return _min; }
    void setMinValue(double v) { _min = v; }
    double maxValue() const { return _max; }
    void setMaxValue(double v) { _max = v; }
    double increment() const { return _increment; }
    void setIncrement(double v) { _increment = v; }
    bool valueWraps() const { return _wraps; }
    void setValueWraps(bool on) { _wraps = on; }
    bool autorepeat() const { return _autorepeat; }
    void setAutorepeat(bool on) { _autorepeat = on; }

    // Clamped into the range.
    void setDoubleValue(double value) override;
    void setIntValue(int value) override { setDoubleValue(value); }
    void setObjectValue(Value value) override { setDoubleValue(value.doubleValue()); }
    void setStringValue(std::string value) override { setDoubleValue(Value(value).doubleValue()); }

    // The user presses an arrow: one increment, wrapping or stopping at the
    // ends, then the action.
    bool stepUp() { return step(+1); }
    bool stepDown() { return step(-1); }

private:
    bool step(int direction);
    double _min = 0, _max = 59, _increment = 1;
    bool _wraps = true, _autorepeat = true;
};

}  // namespace kz
