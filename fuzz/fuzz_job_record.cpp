// A scheduler's answer about jobs (Get-Jobs, Get-Job-Attributes), as
// `kzpde jobs`, `kzpde release` and the agent read it: any IPP message.
#include <cups/ipp.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/printing/JobRecord.h"

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
};

ssize_t readInput(void* context, ipp_uchar_t* buffer, size_t bytes) {
    auto* in = static_cast<Input*>(context);
    const std::size_t n = bytes < in->size ? bytes : in->size;
    std::memcpy(buffer, in->data, n);
    in->data += n;
    in->size -= n;
    return static_cast<ssize_t>(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    ipp_t* answer = ippNew();
    if (ippReadIO(&in, readInput, 1, nullptr, answer) == IPP_STATE_DATA) {
        std::size_t skipped = 0;
        for (const kz::JobRecord& job : kz::JobRecord::readAll(answer, &skipped)) {
            (void)job.createdText();
            (void)job.throughPanel();
        }
        (void)kz::JobRecord::read(answer);
    }
    ippDelete(answer);
    return 0;
}
