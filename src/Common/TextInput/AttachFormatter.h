#pragma once

#include <cstdint>
#include <memory>

#include "Common/TextInput/CharacterSet.h"
#include "platform/foundation/Export.h"

namespace kz {
class TextField;
}

namespace ComTORVALEKZ2R4_Plugin {

class EscapeFormatting;

inline constexpr std::uint32_t kMinBytes_Undefined = 0;
inline constexpr std::uint32_t kMinLength_Undefined = 0;
inline constexpr std::uint32_t kMaxBytes_JobName = 2040;

// Attach a limit formatter (minimum 0) to a field, then set its placeholder
// and tool tip from `placeholderFormat` (may be null). With a character set
// the formatter also refuses characters outside it. The escape variants also
// apply the transport escape rules. Nothing happens for a null field.
KZ_EXPORT void attachMaxBytesFormatter(kz::TextField* field, std::uint32_t maxBytes, const char* placeholderFormat,
                                       std::shared_ptr<const CharacterSet> characterSet);
KZ_EXPORT void attachMaxBytesFormatterWithEscape(kz::TextField* field, std::uint32_t maxBytes,
                                                 const char* placeholderFormat,
                                                 std::shared_ptr<const CharacterSet> characterSet);
KZ_EXPORT void attachMaxLengthFormatter(kz::TextField* field, std::uint32_t maxLength, const char* placeholderFormat,
                                        std::shared_ptr<const CharacterSet> characterSet);
KZ_EXPORT void attachMaxLengthFormatterWithEscape(kz::TextField* field, std::uint32_t maxLength,
                                                  const char* placeholderFormat,
                                                  std::shared_ptr<const CharacterSet> characterSet);

// Adds the transport escape rules (Japanese preferred or not) to the formatter.
KZ_EXPORT void attachEscapeRule(EscapeFormatting* formatter);

// The format filled with the maximum becomes the field's tool tip and
// placeholder text; nothing happens without a field or a format.
KZ_EXPORT void setPlaceholderStringAndToolTip(kz::TextField* field, std::uint32_t maximum, const char* format);

}  // namespace ComTORVALEKZ2R4_Plugin
