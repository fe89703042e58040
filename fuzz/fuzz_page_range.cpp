// Page-range text typed by the user or read from saved settings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Common/TextInput/PageRangeFormatter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)ComTORVALEKZ2R4_Plugin::PageRangeFormatter::isValidPageRanges(
        std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
