#pragma once

#include <cstdint>
#include <memory>

#include "Common/TextInput/LimitFormatter.h"
#include "platform/kit/TextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// A limit formatter that counts bytes of the text in the system's default byte-string encoding.
class KZ_EXPORT MaxBytesFormatter : public LimitFormatter {
public:
    MaxBytesFormatter(std::uint32_t minBytes, std::uint32_t maxBytes) : _minBytes(minBytes), _maxBytes(maxBytes) {}

    std::uint32_t minBytes() const { return _minBytes; }
    std::uint32_t maxBytes() const { return _maxBytes; }
    std::size_t measure(std::string_view text) const override;

    static std::shared_ptr<MaxBytesFormatter> setLengthFormatter(kz::TextField& field, std::uint32_t minBytes, std::uint32_t maxBytes);
    static std::shared_ptr<MaxBytesFormatter> setMaxBytesFormatter(kz::TextField& field, std::uint32_t maxBytes);

protected:
    std::uint32_t minimumLimit() const override { return _minBytes; }
    std::uint32_t maximumLimit() const override { return _maxBytes; }
    const char* nullObjectReason() const override { return "NULL Object pointer to MaxBytesFormatter"; }

    std::uint32_t _minBytes;
    std::uint32_t _maxBytes;
};

}  // namespace ComTORVALEKZ2R4_Plugin
