#pragma once

#include <cstdint>

namespace kz {

// Results of the printing calls, as the printing system numbers them.
using OSStatus = std::int32_t;

inline constexpr OSStatus kNoErr = 0;
// A missing object or argument: no print settings, no printer, no out-parameter.
inline constexpr OSStatus kParamErr = -50;
// The print settings have no value under the key asked for. Callers treat it
// as "not set", never as a failure worth reporting.
inline constexpr OSStatus kPMKeyNotFound = -9589;
// A conflict between settings stops saving them.
inline constexpr OSStatus kPMInvalidPrintSettings = -9531;
// The printer cannot do what was asked (a command it does not know, a job it
// cannot take).
inline constexpr OSStatus kPMIOErr = -9780;

}  // namespace kz
