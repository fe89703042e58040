#pragma once

#include "Common/TextInput/LimitFormatterKinds.h"
#include "Common/TextInput/MaxLengthFormatter.h"

namespace ComTORVALEKZ2R4_Plugin {

// A MaxLengthFormatter that also refuses characters outside its allowed set.
class KZ_EXPORT MaxLengthFormatterWithCharacterSet : public WithCharacterSet<MaxLengthFormatter> {
public:
    MaxLengthFormatterWithCharacterSet(std::uint32_t minLength, std::uint32_t maxLength, std::shared_ptr<const CharacterSet> characterSet)
        : WithCharacterSet(std::move(characterSet), minLength, maxLength) {}

    static std::shared_ptr<MaxLengthFormatterWithCharacterSet> setMaxLengthFormatter(kz::TextField& field, std::uint32_t maxLength,
                                                    std::shared_ptr<const CharacterSet> characterSet) {
        return attachNewFormatter<MaxLengthFormatterWithCharacterSet>(field, 0u, maxLength, std::move(characterSet));
    }
    static std::shared_ptr<MaxLengthFormatterWithCharacterSet> setMaxLengthFormatter(kz::TextField& field, std::uint32_t minLength, std::uint32_t maxLength,
                                                    std::shared_ptr<const CharacterSet> characterSet) {
        return attachNewFormatter<MaxLengthFormatterWithCharacterSet>(field, minLength, maxLength, std::move(characterSet));
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
