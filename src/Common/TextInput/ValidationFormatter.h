#pragma once

#include <optional>
#include <string>

#include "Common/TextInput/MaxBytesFormatterWithCharacterSet.h"

namespace ComTORVALEKZ2R4_Plugin {

// A byte formatter that also checks the whole text when editing ends: while
// its window is visible, a non-empty text that isValid() refuses keeps the
// focus in the field and shows the message in an alert sheet. The base
// accepts every text; subtypes say what a valid text is.
class KZ_EXPORT ValidationFormatter : public MaxBytesFormatterWithCharacterSet {
public:
    ValidationFormatter(std::uint32_t minBytes, std::uint32_t maxBytes, std::shared_ptr<const CharacterSet> characterSet,
                        std::optional<std::string> message)
        : MaxBytesFormatterWithCharacterSet(minBytes, maxBytes, std::move(characterSet)),
          _messageString(std::move(message)) {}

    const std::optional<std::string>& messageString() const { return _messageString; }
    virtual bool isValid(const std::string& text) const;
    bool controlTextShouldEndEditing(kz::Control& control, kz::FieldEditor& editor) override;

    static std::shared_ptr<ValidationFormatter> setValidationFormatter(kz::TextField& field, std::uint32_t maxBytes,
                                                                       std::shared_ptr<const CharacterSet> characterSet,
                                                                       std::optional<std::string> message) {
        return attachNewFormatter<ValidationFormatter>(field, 0u, maxBytes, std::move(characterSet), std::move(message));
    }

protected:
    std::optional<std::string> _messageString;
};

}  // namespace ComTORVALEKZ2R4_Plugin
