#pragma once

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A span on one axis for layout arithmetic, in 32-bit floats.
struct FloatRange {
    float location = 0;
    float length = 0;
    float end() const { return location + length; }
    bool operator==(const FloatRange&) const = default;
};

KZ_EXPORT FloatRange _MakeRange(float location, float length);
// The overlap of two ranges; (0, 0) when they do not overlap.
KZ_EXPORT FloatRange _IntersectionRange(FloatRange a, FloatRange b);
// The smallest range covering both.
KZ_EXPORT FloatRange _UnionRange(FloatRange a, FloatRange b);

}  // namespace ComTORVALEKZ2R4_Plugin
