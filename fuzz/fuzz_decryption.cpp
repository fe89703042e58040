// Unscrambling arbitrary stored text (a print option read back from a file)
// must stay inside the buffer the callers size for it.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "Common/Security/EncryptUtil.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first byte picks the key length, so short and empty keys are tried.
    std::string_view key = kzp::kPasswordScrambleKey;
    if (!input.empty()) {
        key = key.substr(0, static_cast<unsigned char>(input[0]) % (key.size() + 1));
        input.remove_prefix(1);
    }
    std::vector<char> out(input.size() + 1);
    kzp::Decryption(key, input, out.data());
    (void)kzp::decryptString(key, input);
    return 0;
}
