// String tables (.strings) from bundles, in UTF-8 or UTF-16.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/StringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    auto table = kz::StringTable::parse(std::string_view(reinterpret_cast<const char*>(data), size), &error);
    if (table)
        for (const auto& [key, value] : table->entries()) (void)table->find(key);
    return 0;
}
