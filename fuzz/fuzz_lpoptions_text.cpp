// An lpoptions file as it lies on disk: any user's, or the system's.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/printing/LpoptionsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)kz::LpoptionsText::defaultDestination(text);
    (void)kz::LpoptionsText::linesOfOtherQueues(text, [](std::string_view queue) { return queue.size() % 2 == 0; });
    return 0;
}
