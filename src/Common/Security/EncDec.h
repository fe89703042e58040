#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

// Transport encoding of password print options by the password library in the
// plug-in's resource folder (kEncDecLibraryName), loaded at run time. The
// library state is process-wide; main thread only.
//
// Passwords never reach the log: the trace lines of encode and decode name the
// step and the error, never the plain or the encoded text. Only the self-test
// shows its own probe text.
namespace ComTORVALEKZ2R4_Plugin {

inline constexpr std::size_t kEncDecBufferSize = 1024;
using EncDecBuffer = std::array<char, kEncDecBufferSize>;

// encode/decode answers besides the library's own error numbers.
inline constexpr int kEncDecTooLong = 14;    // the result would not fit the buffer
inline constexpr int kEncDecNotLoaded = 19;  // no complete library is loaded

// 0 when the library in `resourcePath` is loaded with all four entry points
// (also when it already was), -1 otherwise (nothing stays loaded then).
KZ_EXPORT int loadEncDec(std::string_view resourcePath);
KZ_EXPORT void unloadEncDec();
KZ_EXPORT bool isEncDecLoaded();

// 0 or an error number; on success `out` holds the zero-terminated result. On
// failure `out` keeps what it held (callers keep it, as the panel does).
KZ_EXPORT int encode(std::string_view plain, EncDecBuffer& out);
KZ_EXPORT int decode(std::string_view encoded, EncDecBuffer& out);

// Self-test: load, encode `testText`, decode it and compare. 0 on a round
// trip, -1 load failure, -2 encode failure, -3 decode failure, -4 mismatch.
// `message`, when given, receives the library path. The library is unloaded
// after a completed decode.
KZ_EXPORT int checkEncDec(std::string_view testText, std::string_view resourcePath, std::string* message);

}  // namespace ComTORVALEKZ2R4_Plugin
