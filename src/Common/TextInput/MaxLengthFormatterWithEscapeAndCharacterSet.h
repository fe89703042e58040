#pragma once

#include "Common/TextInput/MaxLengthFormatterWithEscape.h"

namespace ComTORVALEKZ2R4_Plugin {

// A MaxLengthFormatterWithEscape that also refuses characters outside its allowed set.
class KZ_EXPORT MaxLengthFormatterWithEscapeAndCharacterSet : public WithCharacterSet<MaxLengthFormatterWithEscape> {
public:
    MaxLengthFormatterWithEscapeAndCharacterSet(std::uint32_t minLength, std::uint32_t maxLength, std::shared_ptr<const CharacterSet> characterSet)
        : WithCharacterSet(std::move(characterSet), minLength, maxLength) {}

    static std::shared_ptr<MaxLengthFormatterWithEscapeAndCharacterSet> setMaxLengthFormatter(kz::TextField& field, std::uint32_t maxLength,
                                                     std::shared_ptr<const CharacterSet> characterSet) {
        return attachNewFormatter<MaxLengthFormatterWithEscapeAndCharacterSet>(field, 0u, maxLength, std::move(characterSet));
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
