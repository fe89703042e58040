#include "Common/Util/RangeUtil.h"

#include <algorithm>

namespace ComTORVALEKZ2R4_Plugin {

FloatRange _MakeRange(float location, float length) { return FloatRange{location, length}; }

FloatRange _IntersectionRange(FloatRange a, FloatRange b) {
    const float location = std::max(a.location, b.location);
    const float end = std::min(a.end(), b.end());
    if (end < location) return FloatRange{};
    return FloatRange{location, end - location};
}

FloatRange _UnionRange(FloatRange a, FloatRange b) {
    const float location = std::min(a.location, b.location);
    return FloatRange{location, std::max(a.end(), b.end()) - location};
}

}  // namespace ComTORVALEKZ2R4_Plugin
