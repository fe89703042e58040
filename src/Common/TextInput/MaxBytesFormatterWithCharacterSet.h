#pragma once

#include "Common/TextInput/LimitFormatterKinds.h"
#include "Common/TextInput/MaxBytesFormatter.h"

namespace ComTORVALEKZ2R4_Plugin {

// A MaxBytesFormatter that also refuses characters outside its allowed set.
class KZ_EXPORT MaxBytesFormatterWithCharacterSet : public WithCharacterSet<MaxBytesFormatter> {
public:
    MaxBytesFormatterWithCharacterSet(std::uint32_t minBytes, std::uint32_t maxBytes, std::shared_ptr<const CharacterSet> characterSet)
        : WithCharacterSet(std::move(characterSet), minBytes, maxBytes) {}

    static std::shared_ptr<MaxBytesFormatterWithCharacterSet> setMaxBytesFormatter(kz::TextField& field, std::uint32_t maxBytes,
                                                    std::shared_ptr<const CharacterSet> characterSet) {
        return attachNewFormatter<MaxBytesFormatterWithCharacterSet>(field, 0u, maxBytes, std::move(characterSet));
    }
    static std::shared_ptr<MaxBytesFormatterWithCharacterSet> setMaxBytesFormatter(kz::TextField& field, std::uint32_t minBytes, std::uint32_t maxBytes,
                                                    std::shared_ptr<const CharacterSet> characterSet) {
        return attachNewFormatter<MaxBytesFormatterWithCharacterSet>(field, minBytes, maxBytes, std::move(characterSet));
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
