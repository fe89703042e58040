#include "Common/TextInput/AttachFormatter.h"

#include "Common/TextInput/MaxBytesFormatterWithCharacterSet.h"
#include "Common/TextInput/MaxBytesFormatterWithEscapeAndCharacterSet.h"
#include "Common/TextInput/MaxLengthFormatterWithCharacterSet.h"
#include "Common/TextInput/MaxLengthFormatterWithEscapeAndCharacterSet.h"
#include "Common/TextInput/TextFieldEnvironment.h"

namespace ComTORVALEKZ2R4_Plugin {

void attachMaxBytesFormatter(kz::TextField* field, std::uint32_t maxBytes, const char* placeholderFormat,
                             std::shared_ptr<const CharacterSet> characterSet) {
    if (!field) return;
    if (characterSet) MaxBytesFormatterWithCharacterSet::setMaxBytesFormatter(*field, maxBytes, std::move(characterSet));
    else MaxBytesFormatter::setMaxBytesFormatter(*field, maxBytes);
    setPlaceholderStringAndToolTip(field, maxBytes, placeholderFormat);
}

void attachMaxBytesFormatterWithEscape(kz::TextField* field, std::uint32_t maxBytes, const char* placeholderFormat,
                                       std::shared_ptr<const CharacterSet> characterSet) {
    if (!field) return;
    if (characterSet)
        attachEscapeRule(MaxBytesFormatterWithEscapeAndCharacterSet::setMaxBytesFormatter(*field, maxBytes,
                                                                                          std::move(characterSet))
                             .get());
    else attachEscapeRule(MaxBytesFormatterWithEscape::setMaxBytesFormatter(*field, maxBytes).get());
    setPlaceholderStringAndToolTip(field, maxBytes, placeholderFormat);
}

void attachMaxLengthFormatter(kz::TextField* field, std::uint32_t maxLength, const char* placeholderFormat,
                              std::shared_ptr<const CharacterSet> characterSet) {
    if (!field) return;
    if (characterSet)
        MaxLengthFormatterWithCharacterSet::setMaxLengthFormatter(*field, maxLength, std::move(characterSet));
    else MaxLengthFormatter::setMaxLengthFormatter(*field, maxLength);
    setPlaceholderStringAndToolTip(field, maxLength, placeholderFormat);
}

void attachMaxLengthFormatterWithEscape(kz::TextField* field, std::uint32_t maxLength, const char* placeholderFormat,
                                        std::shared_ptr<const CharacterSet> characterSet) {
    if (!field) return;
    if (characterSet)
        attachEscapeRule(MaxLengthFormatterWithEscapeAndCharacterSet::setMaxLengthFormatter(*field, maxLength,
                                                                                            std::move(characterSet))
                             .get());
    else attachEscapeRule(MaxLengthFormatterWithEscape::setMaxLengthFormatter(*field, maxLength).get());
    setPlaceholderStringAndToolTip(field, maxLength, placeholderFormat);
}

void attachEscapeRule(EscapeFormatting* formatter) {
    if (formatter) formatter->escapeConverter().addEscapeRules(TextFieldEnvironment::isJapanesePreferred());
}

void setPlaceholderStringAndToolTip(kz::TextField* field, std::uint32_t maximum, const char* format) {
    if (!field || !format) return;
    std::string text = TextFieldEnvironment::fill(format, maximum);
    field->setToolTip(text);
    field->setPlaceholderString(std::move(text));
}

}  // namespace ComTORVALEKZ2R4_Plugin
