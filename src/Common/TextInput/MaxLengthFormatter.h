#pragma once

#include <cstdint>
#include <memory>

#include "Common/TextInput/LimitFormatter.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// A limit formatter that counts UTF-16 code units of the text.
class KZ_EXPORT MaxLengthFormatter : public LimitFormatter {
public:
    MaxLengthFormatter(std::uint32_t minLength, std::uint32_t maxLength) : _minLength(minLength), _maxLength(maxLength) {}

    std::uint32_t minLength() const { return _minLength; }
    std::uint32_t maxLength() const { return _maxLength; }
    std::size_t measure(std::string_view text) const override;

    static std::shared_ptr<MaxLengthFormatter> setLengthFormatter(kz::TextField& field, std::uint32_t minLength, std::uint32_t maxLength);
    static std::shared_ptr<MaxLengthFormatter> setMaxLengthFormatter(kz::TextField& field, std::uint32_t maxLength);

protected:
    std::uint32_t minimumLimit() const override { return _minLength; }
    std::uint32_t maximumLimit() const override { return _maxLength; }
    const char* nullObjectReason() const override { return "NULL Object pointer to MaxLengthFormatter"; }

    std::uint32_t _minLength;
    std::uint32_t _maxLength;
};

}  // namespace ComTORVALEKZ2R4_Plugin
