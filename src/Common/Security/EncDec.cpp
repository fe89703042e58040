#include "Common/Security/EncDec.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Common/Security/EncDecEntryPoints.h"
#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr std::size_t kMaxLibraryPath = 2048;

struct LibraryState {
    void* handle = nullptr;
    EncryptionGuessCountFn encodeGuessCount = nullptr;
    EncryptionCodeFn encode = nullptr;
    EncryptionGuessCountFn decodeGuessCount = nullptr;
    EncryptionCodeFn decode = nullptr;
    std::string* message = nullptr;  // receives the library path on loading

    bool complete() const { return handle && encodeGuessCount && encode && decodeGuessCount && decode; }
    bool anyEntryPoint() const { return encodeGuessCount || encode || decodeGuessCount || decode; }
    void forget() {
        handle = nullptr;
        encodeGuessCount = decodeGuessCount = nullptr;
        encode = decode = nullptr;
    }
};

LibraryState& state() {
    static LibraryState s;
    return s;
}

template <typename Fn>
Fn resolve(void* handle, const char* name) {
    return reinterpret_cast<Fn>(dlsym(handle, name));
}

struct Direction {
    EncryptionGuessCountFn guessCount;
    EncryptionCodeFn code;
    const char* guessCountError;
    const char* codeError;
    const char* tooLong;
};

int run(const Direction& d, std::string_view in, EncDecBuffer& out) {
    if (!state().complete() || !d.guessCount || !d.code) {
        kz::Log::line("xxx encryption library not loaded");
        return kEncDecNotLoaded;
    }
    long length = 0;
    const long inLength = static_cast<long>(in.size());
    if (int error = d.guessCount(in.data(), inLength, &length)) {
        kz::Log::format(d.guessCountError, error);
        return error;
    }
    if (length < 0 || length >= static_cast<long>(kEncDecBufferSize)) {
        kz::Log::format(d.tooLong, length);
        return kEncDecTooLong;
    }
    // The library writes into a scratch buffer so that a failing call leaves
    // the caller's buffer as it was.
    EncDecBuffer scratch{};
    long written = static_cast<long>(kEncDecBufferSize) - 1;
    if (int error = d.code(in.data(), inLength, scratch.data(), &written)) {
        kz::Log::format(d.codeError, error);
        return error;
    }
    scratch[static_cast<std::size_t>(length)] = '\0';
    out = scratch;
    return 0;
}

}  // namespace

int loadEncDec(std::string_view resourcePath) {
    LibraryState& s = state();
    kz::Log::format("%.*s", static_cast<int>(resourcePath.size()), resourcePath.data());
    std::string path = std::string(resourcePath) + "/" + kEncDecLibraryName;
    if (s.message) *s.message = path;
    if (!s.handle && !s.anyEntryPoint()) {
        // A cut path could name another file; a path too long is not opened.
        s.handle = path.size() <= kMaxLibraryPath ? dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
        if (!s.handle) {
            int error = ENAMETOOLONG;
            if (path.size() <= kMaxLibraryPath)  // dlopen does not promise errno; ask the file system
                error = access(path.c_str(), R_OK) != 0 ? errno : ENOEXEC;
            kz::Log::format("xxx dlopen(%s) error %d", path.c_str(), error);
            return -1;
        }
        s.encodeGuessCount = resolve<EncryptionGuessCountFn>(s.handle, kEncodeGuessCountSymbol);
        s.encode = resolve<EncryptionCodeFn>(s.handle, kEncodeSymbol);
        s.decodeGuessCount = resolve<EncryptionGuessCountFn>(s.handle, kDecodeGuessCountSymbol);
        s.decode = resolve<EncryptionCodeFn>(s.handle, kDecodeSymbol);
    }
    if (s.complete()) return 0;
    kz::Log::format("xxx incomplete status %p, %p, %p, %p, %p", s.handle, reinterpret_cast<void*>(s.encodeGuessCount),
                    reinterpret_cast<void*>(s.encode), reinterpret_cast<void*>(s.decodeGuessCount),
                    reinterpret_cast<void*>(s.decode));
    unloadEncDec();
    return -1;
}

void unloadEncDec() {
    LibraryState& s = state();
    if (s.handle) dlclose(s.handle);
    s.forget();
}

bool isEncDecLoaded() { return state().complete(); }

int encode(std::string_view plain, EncDecBuffer& out) {
    const LibraryState& s = state();
    int result = run({s.encodeGuessCount, s.encode, "xxx encryption_encode_guess_count() error=%d",
                      "xxx encryption_encode() error=%d", "### too long string, encoding size=%ld"},
                     plain, out);
    if (result == 0) kz::Log::line("ENCODE:");
    return result;
}

int decode(std::string_view encoded, EncDecBuffer& out) {
    const LibraryState& s = state();
    int result = run({s.decodeGuessCount, s.decode, "xxx encryption_decode_guess_count() error=%d",
                      "xxx encryption_decode() error=%d", "### too long string, decoding size=%ld"},
                     encoded, out);
    if (result == 0) kz::Log::line("DECODE:");
    return result;
}

int checkEncDec(std::string_view testText, std::string_view resourcePath, std::string* message) {
    EncDecBuffer encoded{}, decoded{};
    LibraryState& s = state();
    s.message = message;
    struct ForgetMessage {
        ~ForgetMessage() { state().message = nullptr; }
    } forgetMessage;
    if (loadEncDec(resourcePath) != 0) {
        kz::Log::line("checkEncDec:loadEncDec error");
        return -1;
    }
    if (encode(testText, encoded) != 0) {
        kz::Log::line("checkEncDec:encode error");
        return -2;
    }
    kz::Log::format("checkEncDec:encode %s", encoded.data());
    if (decode(encoded.data(), decoded) != 0) {
        kz::Log::line("checkEncDec:decode error");
        return -3;
    }
    kz::Log::format("checkEncDec:decode %s", decoded.data());
    unloadEncDec();
    if (testText != std::string_view(decoded.data())) {
        kz::Log::line("checkEncDec:NG");
        return -4;
    }
    kz::Log::line("checkEncDec:OK");
    return 0;
}

}  // namespace ComTORVALEKZ2R4_Plugin
