// Device addresses of queues as the panel, the tool and the backend read
// them: whatever is accepted must write back to an address that reads the
// same, and anything refused must say why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/printing/PrintServerURI.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string error;
    auto parsed = kz::PrintServerURI::parse(input, &error);
    if (!parsed) {
        if (error.empty()) std::abort();
    } else if (parsed->isProductForm()) {
        auto again = kz::PrintServerURI::parse(parsed->text(), &error);
        if (!again || *again != *parsed) std::abort();
        (void)parsed->ippURI();
    }
    // The same bytes as what `queue add --server` takes.
    auto made = kz::PrintServerURI::make(input, "KZPrintServer", 8888, &error);
    if (made) {
        auto read = kz::PrintServerURI::parse(made->text(), &error);
        if (!read || *read != *made) std::abort();
    }
    return 0;
}
