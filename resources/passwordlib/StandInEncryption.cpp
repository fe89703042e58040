// A STAND-IN for the printer maker's password transport library.
//
// The real library is closed and not shipped with this source tree. This one
// offers the same four entry points with the same calling conventions so that
// the panel, the tool and the tests run end to end. Its encoding is NOT a
// protection: each byte is XORed with a position-dependent mask and written as
// two lowercase hexadecimal digits. Replace the file in the bundle's resources
// with the maker's library for production use.
//
// Error numbers: EINVAL for a malformed encoded text or a negative length,
// ENOSPC when the output room given is too small.
#include <cerrno>

#include "Common/Security/EncDecEntryPoints.h"

namespace {

unsigned char mask(long index) { return static_cast<unsigned char>(0x5a + 37 * index); }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int encryption_encode_guess_count(const char*, long inLength,
                                                                         long* outLength) {
    if (inLength < 0 || !outLength) return EINVAL;
    *outLength = 2 * inLength;
    return 0;
}

__attribute__((visibility("default"))) int encryption_encode(const char* in, long inLength, char* out,
                                                             long* outLength) {
    static const char digits[] = "0123456789abcdef";
    if (inLength < 0 || !outLength || (inLength && (!in || !out))) return EINVAL;
    if (*outLength < 2 * inLength) return ENOSPC;
    for (long i = 0; i < inLength; ++i) {
        unsigned char b = static_cast<unsigned char>(in[i]) ^ mask(i);
        out[2 * i] = digits[b >> 4];
        out[2 * i + 1] = digits[b & 0xf];
    }
    *outLength = 2 * inLength;
    return 0;
}

__attribute__((visibility("default"))) int encryption_decode_guess_count(const char*, long inLength,
                                                                         long* outLength) {
    if (inLength < 0 || inLength % 2 || !outLength) return EINVAL;
    *outLength = inLength / 2;
    return 0;
}

__attribute__((visibility("default"))) int encryption_decode(const char* in, long inLength, char* out,
                                                             long* outLength) {
    if (inLength < 0 || inLength % 2 || !outLength || (inLength && (!in || !out))) return EINVAL;
    if (*outLength < inLength / 2) return ENOSPC;
    for (long i = 0; i < inLength / 2; ++i) {
        int high = hexValue(in[2 * i]), low = hexValue(in[2 * i + 1]);
        if (high < 0 || low < 0) return EINVAL;
        out[i] = static_cast<char>(static_cast<unsigned char>(high * 16 + low) ^ mask(i));
    }
    *outLength = inLength / 2;
    return 0;
}

}  // extern "C"
