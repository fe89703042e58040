#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kzfuzz {

// The entry point of one fuzz_NAME.cpp, built into the replay under a name of
// its own (fuzz/CMakeLists.txt generates the list).
struct Target {
    const char* name;
    int (*run)(const std::uint8_t* data, std::size_t size);
};

const std::vector<Target>& targets();

}  // namespace kzfuzz
