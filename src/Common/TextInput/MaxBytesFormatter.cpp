#include "Common/TextInput/MaxBytesFormatter.h"

#include "Common/TextInput/LimitFormatterKinds.h"
#include "platform/foundation/TextEncoding.h"

namespace ComTORVALEKZ2R4_Plugin {

// A text the encoding cannot hold counts as its lossy form (one "?" per
// character it lacks).
std::size_t MaxBytesFormatter::measure(std::string_view text) const {
    const kz::Encoding encoding = kz::TextEncoding::systemDefault();
    if (auto bytes = kz::TextEncoding::encode(text, encoding)) return bytes->size();
    return kz::TextEncoding::encodeLossy(text, encoding).size();
}

std::shared_ptr<MaxBytesFormatter> MaxBytesFormatter::setLengthFormatter(kz::TextField& field, std::uint32_t minBytes, std::uint32_t maxBytes) {
    return attachNewFormatter<MaxBytesFormatter>(field, minBytes, maxBytes);
}

std::shared_ptr<MaxBytesFormatter> MaxBytesFormatter::setMaxBytesFormatter(kz::TextField& field, std::uint32_t maxBytes) {
    return setLengthFormatter(field, 0, maxBytes);
}

}  // namespace ComTORVALEKZ2R4_Plugin
