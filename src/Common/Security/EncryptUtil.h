#pragma once

#include <cstddef>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

// Field scrambling of passwords: every secure field stores its text as a
// scrambled hexadecimal text (two digits of a random seed, then two digits per
// byte) and unscrambles it when the text is put back. The seed comes from the
// current second, so two scrambles of the same password differ unless made in
// the same second; compare passwords after unscrambling them.
namespace ComTORVALEKZ2R4_Plugin {

// The key the panel scrambles secure fields with.
inline constexpr const char* kPasswordScrambleKey = "paramoxide=qxlr_data";

// Writes the scrambled text of `password` into `out`, zero-terminated. `out`
// must hold encryptionBufLen(password) bytes. An empty key is refused: `out`
// becomes the empty text. The seed is taken from the current time.
KZ_EXPORT void Encryption(std::string_view key, std::string_view password, char* out);
// The same with the time the seed is taken from given (tests use it).
KZ_EXPORT void Encryption(std::string_view key, std::string_view password, char* out, std::time_t seconds);

// Writes the password of `scrambled` into `out`, zero-terminated; `out` must
// hold scrambled.size() + 1 bytes. Reading stops at the first pair that is not
// two hexadecimal digits; a text without a seed, or an empty key, gives the
// empty text.
KZ_EXPORT void Decryption(std::string_view key, std::string_view scrambled, char* out);

// Key and texts are ASCII; a key or text that is not pure ASCII is taken as
// empty. None only when memory runs out (or, for decryptString, when the
// unscrambled bytes are not ASCII, which no scramble of ours produces).
KZ_EXPORT std::optional<std::string> encryptString(std::string_view key, std::string_view password);
KZ_EXPORT std::optional<std::string> decryptString(std::string_view key, std::string_view scrambled);

// The room a scramble of `password` needs: 2 x its bytes + 3.
KZ_EXPORT std::size_t encryptionBufLen(std::string_view password);

// A new zero-terminated copy of the bytes (the terminator follows all of them).
KZ_EXPORT std::unique_ptr<char[]> cStringByData(std::string_view data);
// The zero-terminated bytes read as ASCII; none when a byte is outside ASCII.
KZ_EXPORT std::optional<std::string> stringByCString(const char* bytes);

}  // namespace ComTORVALEKZ2R4_Plugin
