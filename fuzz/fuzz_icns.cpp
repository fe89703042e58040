// Icon families: bundle resources that a pane plug-in or a user may supply.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/kit/IcnsFile.h"
#include "platform/kit/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto file = kz::IcnsFile::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (file) {
        // Touch every decoded pixel so a short buffer shows up.
        for (const auto& image : file->images()) {
            std::uint32_t sum = 0;
            for (std::uint8_t byte : image->pixels()) sum += byte;
            (void)sum;
            (void)file->imageForPixelsWide(image->pixelsWide());
        }
    }
    return 0;
}
