#pragma once

#include <string_view>

#include "Common/TextInput/LimitFormatterKinds.h"
#include "Common/TextInput/ValidationFormatter.h"

namespace ComTORVALEKZ2R4_Plugin {

// Validation of a notification address list: addresses separated by ";", ","
// or white space. Valid when it holds at least one address; the shape of an
// address is left to the mail server. The stored value is the escaped form of
// the shown text (rules added with replace()).
class KZ_EXPORT MailAddressFormatter : public WithEscape<ValidationFormatter> {
public:
    using WithEscape::WithEscape;

    bool isValid(const std::string& text) const override { return isValidMailAddressList(text); }
    static std::shared_ptr<MailAddressFormatter> setValidationFormatter(kz::TextField& field, std::uint32_t maxBytes,
                                                                        std::shared_ptr<const CharacterSet> characterSet,
                                                                        std::optional<std::string> message) {
        return attachNewFormatter<MailAddressFormatter>(field, 0u, maxBytes, std::move(characterSet),
                                                        std::move(message));
    }

    // The whole text is checked, however long: a cut prefix could declare a
    // list empty whose address lies past the cut.
    static bool isValidMailAddressList(std::string_view text);
    // The number of addresses in the list.
    static std::size_t countMailAddresses(std::string_view text);
};

}  // namespace ComTORVALEKZ2R4_Plugin
