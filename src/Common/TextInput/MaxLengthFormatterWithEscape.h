#pragma once

#include "Common/TextInput/LimitFormatterKinds.h"
#include "Common/TextInput/MaxLengthFormatter.h"

namespace ComTORVALEKZ2R4_Plugin {

// A MaxLengthFormatter whose stored value is the escaped form of the shown text.
class KZ_EXPORT MaxLengthFormatterWithEscape : public WithEscape<MaxLengthFormatter> {
public:
    using WithEscape::WithEscape;

    static std::shared_ptr<MaxLengthFormatterWithEscape> setLengthFormatter(kz::TextField& field, std::uint32_t minLength, std::uint32_t maxLength) {
        return attachNewFormatter<MaxLengthFormatterWithEscape>(field, minLength, maxLength);
    }
    static std::shared_ptr<MaxLengthFormatterWithEscape> setMaxLengthFormatter(kz::TextField& field, std::uint32_t maxLength) {
        return setLengthFormatter(field, 0, maxLength);
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
