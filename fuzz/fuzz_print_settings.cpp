// Print-settings files as a headless host reads them back: anything it
// accepts must turn into job options and survive being written and read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"
#include "platform/printing/JobOptions.h"
#include "platform/printing/PrintSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    auto settings = kz::PrintSettings::read(std::string_view(reinterpret_cast<const char*>(data), size), &error);
    if (!settings) {
        if (error.empty()) std::abort();  // refused without a reason
        return 0;
    }
    (void)kz::JobOptions::make(*settings, nullptr).toString();
    std::string xml = kz::PropertyList::toXml(kz::Value(settings->values()), &error);
    auto again = kz::PrintSettings::read(xml, &error);
    if (!again || again->values() != settings->values()) std::abort();
    return 0;
}
