#pragma once

// The C interface of the password transport library that the plug-in loads
// from its resource folder. Every entry point answers 0 for success and an
// error number otherwise. Output is not zero-terminated; `*outLength` carries
// the room of `out` on entry and the length written on return.
extern "C" {
typedef int (*EncryptionGuessCountFn)(const char* in, long inLength, long* outLength);
typedef int (*EncryptionCodeFn)(const char* in, long inLength, char* out, long* outLength);
}

namespace ComTORVALEKZ2R4_Plugin {

inline constexpr const char* kEncDecLibraryName = "libencryption.so";
inline constexpr const char* kEncodeGuessCountSymbol = "encryption_encode_guess_count";
inline constexpr const char* kEncodeSymbol = "encryption_encode";
inline constexpr const char* kDecodeGuessCountSymbol = "encryption_decode_guess_count";
inline constexpr const char* kDecodeSymbol = "encryption_decode";

}  // namespace ComTORVALEKZ2R4_Plugin
