#include "Common/Util/MaxBytesFormatter.h"

#include "Common/Util/LimitFormatterKinds.h"
#include "Common/Util/TextByteLength.h"

namespace ComTORVALEKZ2R4_Plugin {

std::size_t MaxBytesFormatter::measure(std::string_view text) const { return TextByteLength::measure(text); }

std::shared_ptr<MaxBytesFormatter> MaxBytesFormatter::setLengthFormatter(kz::TextField& field, std::uint32_t minBytes, std::uint32_t maxBytes) {
    return attachNewFormatter<MaxBytesFormatter>(field, minBytes, maxBytes);
}

std::shared_ptr<MaxBytesFormatter> MaxBytesFormatter::setMaxBytesFormatter(kz::TextField& field, std::uint32_t maxBytes) {
    return setLengthFormatter(field, 0, maxBytes);
}

}  // namespace ComTORVALEKZ2R4_Plugin
