// The pages of a job as a person types them or a settings file holds them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/PageRanges.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string why;
    (void)kzpde::PageRanges::normalized(std::string_view(reinterpret_cast<const char*>(data), size), &why);
    return 0;
}
