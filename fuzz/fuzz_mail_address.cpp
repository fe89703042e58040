// Notification address lists typed by the user or read from saved settings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Common/TextInput/MailAddressFormatter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto count = ComTORVALEKZ2R4_Plugin::MailAddressFormatter::countMailAddresses(text);
    if ((count > 0) != ComTORVALEKZ2R4_Plugin::MailAddressFormatter::isValidMailAddressList(text)) __builtin_trap();
    return 0;
}
