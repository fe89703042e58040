#pragma once

#include "platform/kit/Control.h"

namespace kz {

enum class TickMarkPosition { Below, Above };

// A value in a range; with tick marks only their values may be chosen.
class KZ_EXPORT Slider : public Control {
public:
    explicit Slider(Rect frame = {});
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    double minValue() const { return _min; }
    void setMinValue(double v);
    double maxValue() const { return _max; }
    void setMaxValue(double v);
    double altIncrementValue() const { return _altIncrement; }
    void setAltIncrementValue(double v) { _altIncrement = v; }

    int numberOfTickMarks() const { return _ticks; }
    void setNumberOfTickMarks(int count);
    TickMarkPosition tickMarkPosition() const { return _tickPosition; }
    void setTickMarkPosition(TickMarkPosition p);
    bool allowsTickMarkValuesOnly() const { return _ticksOnly; }
    void setAllowsTickMarkValuesOnly(bool on);
    // The value of tick i (0 is the minimum, the last the maximum).
    double tickMarkValueAtIndex(int index) const;
    double closestTickMarkValueToValue(double value) const;

    // Clamped into the range; snapped to a tick when only tick values count.
    void setDoubleValue(double value) override;
    void setIntValue(int value) override { setDoubleValue(value); }
    void setObjectValue(Value value) override { setDoubleValue(value.doubleValue()); }
    void setStringValue(std::string value) override { setDoubleValue(Value(value).doubleValue()); }

    // The user drags to a value: the value as set above, then the action.
    bool moveTo(double value);

private:
    double _min = 0, _max = 1, _altIncrement = 0;
    int _ticks = 0;
    TickMarkPosition _tickPosition = TickMarkPosition::Below;
    bool _ticksOnly = false;
};

}  // namespace kz
