#pragma once

#include "Common/TextInput/LimitFormatterKinds.h"
#include "Common/TextInput/MaxBytesFormatter.h"

namespace ComTORVALEKZ2R4_Plugin {

// A MaxBytesFormatter whose stored value is the escaped form of the shown text.
class KZ_EXPORT MaxBytesFormatterWithEscape : public WithEscape<MaxBytesFormatter> {
public:
    using WithEscape::WithEscape;

    static std::shared_ptr<MaxBytesFormatterWithEscape> setLengthFormatter(kz::TextField& field, std::uint32_t minBytes, std::uint32_t maxBytes) {
        return attachNewFormatter<MaxBytesFormatterWithEscape>(field, minBytes, maxBytes);
    }
    static std::shared_ptr<MaxBytesFormatterWithEscape> setMaxBytesFormatter(kz::TextField& field, std::uint32_t maxBytes) {
        return setLengthFormatter(field, 0, maxBytes);
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
