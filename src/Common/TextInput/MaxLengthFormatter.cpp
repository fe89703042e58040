#include "Common/TextInput/MaxLengthFormatter.h"

#include "Common/TextInput/LimitFormatterKinds.h"
#include "platform/kit/Utf16.h"

namespace ComTORVALEKZ2R4_Plugin {

std::size_t MaxLengthFormatter::measure(std::string_view text) const { return kz::Utf16::length(text); }

std::shared_ptr<MaxLengthFormatter> MaxLengthFormatter::setLengthFormatter(kz::TextField& field, std::uint32_t minLength, std::uint32_t maxLength) {
    return attachNewFormatter<MaxLengthFormatter>(field, minLength, maxLength);
}

std::shared_ptr<MaxLengthFormatter> MaxLengthFormatter::setMaxLengthFormatter(kz::TextField& field, std::uint32_t maxLength) {
    return setLengthFormatter(field, 0, maxLength);
}

}  // namespace ComTORVALEKZ2R4_Plugin
