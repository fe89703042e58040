// Property lists from printer data, bundles and user files, XML or binary.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    kz::Value v = kz::PropertyList::read(std::string_view(reinterpret_cast<const char*>(data), size), &error);
    // Whatever reads must also write and read back.
    if (!v.isNull()) (void)kz::PropertyList::read(kz::PropertyList::toXml(v));
    return 0;
}
