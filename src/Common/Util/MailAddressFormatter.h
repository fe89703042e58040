#pragma once

#include <string_view>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Validation of a notification address list: addresses separated by ";", ","
// or white space. Valid when it holds at least one address; the shape of an
// address is left to the mail server.
class KZ_EXPORT MailAddressFormatter {
public:
    // The whole text is checked, however long: a cut prefix could declare a
    // list empty whose address lies past the cut.
    static bool isValidMailAddressList(std::string_view text);
    // The number of addresses in the list.
    static std::size_t countMailAddresses(std::string_view text);
};

}  // namespace ComTORVALEKZ2R4_Plugin
