#include "Common/Security/EncryptUtil.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <random>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The byte in two hexadecimal digits at `text[at]`, or -1.
int readPair(std::string_view text, std::size_t at) {
    if (at + 2 > text.size()) return -1;
    int high = hexValue(text[at]), low = hexValue(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

char* writePair(char* out, unsigned value) {
    *out++ = kHexDigits[(value >> 4) & 0xf];
    *out++ = kHexDigits[value & 0xf];
    return out;
}

// The seed of a scramble made in `seconds`. A generator of our own, seeded
// from the second, keeps "same second, same scramble" without disturbing the
// process-wide rand() state that other code may rely on.
unsigned seedFor(std::time_t seconds) {
    std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(seconds));
    return static_cast<unsigned>(generator() % 255);
}

}  // namespace

void Encryption(std::string_view key, std::string_view password, char* out) {
    Encryption(key, password, out, std::time(nullptr));
}

void Encryption(std::string_view key, std::string_view password, char* out, std::time_t seconds) {
    if (key.empty()) {  // the key position would wrap modulo zero
        *out = '\0';
        return;
    }
    unsigned prev = seedFor(seconds);
    out = writePair(out, prev);
    std::size_t position = key.size() - 1;  // before the first key byte
    for (unsigned char b : password) {
        position = (position + 1) % key.size();
        unsigned v = (prev + b) % 255;
        unsigned x = static_cast<unsigned char>(key[position]) ^ v;
        out = writePair(out, x);
        prev = x;
    }
    *out = '\0';
}

void Decryption(std::string_view key, std::string_view scrambled, char* out) {
    int seed = key.empty() ? -1 : readPair(scrambled, 0);
    if (seed < 0) {
        *out = '\0';
        return;
    }
    int prev = seed;
    std::size_t position = key.size() - 1;
    for (std::size_t at = 2;; at += 2) {
        int x = readPair(scrambled, at);
        if (x < 0) break;
        position = (position + 1) % key.size();
        int v = static_cast<unsigned char>(key[position]) ^ x;
        *out++ = static_cast<char>(prev < v ? v - prev : v - prev + 255);
        prev = x;
    }
    *out = '\0';
}

std::size_t encryptionBufLen(std::string_view password) { return 2 * password.size() + 3; }

std::optional<std::string> encryptString(std::string_view key, std::string_view password) {
    if (!isAscii(key)) key = {};
    if (!isAscii(password)) password = {};
    try {
        std::string buffer(2 * password.size() + 4, '\0');
        Encryption(key, password, buffer.data());
        return stringByCString(buffer.c_str());
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<std::string> decryptString(std::string_view key, std::string_view scrambled) {
    if (!isAscii(key)) key = {};
    if (!isAscii(scrambled)) scrambled = {};
    try {
        std::string buffer(scrambled.size() + 1, '\0');
        Decryption(key, scrambled, buffer.data());
        return stringByCString(buffer.c_str());
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::unique_ptr<char[]> cStringByData(std::string_view data) {
    auto copy = std::make_unique<char[]>(data.size() + 1);
    if (!data.empty()) std::memcpy(copy.get(), data.data(), data.size());
    copy[data.size()] = '\0';
    return copy;
}

std::optional<std::string> stringByCString(const char* bytes) {
    if (!bytes) return std::nullopt;
    std::string text(bytes);
    if (!isAscii(text)) return std::nullopt;
    return text;
}

}  // namespace ComTORVALEKZ2R4_Plugin
