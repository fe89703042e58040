#pragma once

#include "Common/TextInput/MaxBytesFormatterWithEscape.h"

namespace ComTORVALEKZ2R4_Plugin {

// A MaxBytesFormatterWithEscape that also refuses characters outside its allowed set.
class KZ_EXPORT MaxBytesFormatterWithEscapeAndCharacterSet : public WithCharacterSet<MaxBytesFormatterWithEscape> {
public:
    MaxBytesFormatterWithEscapeAndCharacterSet(std::uint32_t minBytes, std::uint32_t maxBytes, std::shared_ptr<const CharacterSet> characterSet)
        : WithCharacterSet(std::move(characterSet), minBytes, maxBytes) {}

    static std::shared_ptr<MaxBytesFormatterWithEscapeAndCharacterSet> setMaxBytesFormatter(kz::TextField& field, std::uint32_t maxBytes,
                                                     std::shared_ptr<const CharacterSet> characterSet) {
        return attachNewFormatter<MaxBytesFormatterWithEscapeAndCharacterSet>(field, 0u, maxBytes, std::move(characterSet));
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
