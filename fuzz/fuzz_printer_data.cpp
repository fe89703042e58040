// Hostile printer data: the input becomes a run of attribute values, either as
// raw text (hostile Base64) or as Base64 of raw chunks (hostile zlib, bombs).
#include <cups/http.h>
#include <cups/ppd.h>

#include <cstdint>
#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>
#include <cstdlib>
#include <string>

#include "Common/WebService/PrinterData.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzp = ComTORVALEKZ2R4_Plugin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool rawText = data[0] & 1;
    std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string ppd = "*PPD-Adobe: \"4.3\"\n";
    unsigned sequence = 0;
    if (rawText) {
        std::size_t at = 0;
        while (at <= body.size()) {
            std::size_t end = body.find('\n', at);
            if (end == std::string::npos) end = body.size();
            std::string value = body.substr(at, end - at);
            for (char& c : value)
                if (c == '"' || c == '\r' || c == '\0') c = '=';
            ppd += "*L" + kzp::PrinterData::attributeName("", sequence++) + ": \"" + value + "\"\n";
            at = end + 1;
        }
    } else {
        for (std::size_t at = 0; at < body.size(); at += 159) {
            std::string piece = body.substr(at, 159);
            char text[256];
            httpEncode64_2(text, sizeof text, piece.data(), static_cast<int>(piece.size()));
            ppd += "*L" + kzp::PrinterData::attributeName("", sequence++) + ": \"" + text + "\"\n";
        }
    }
    // libcups reads PPDs from descriptors only: a memory file stands in.
    static const int fd = memfd_create("fuzz-ppd", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, ppd.data(), ppd.size(), 0) != static_cast<ssize_t>(ppd.size()) ||
        lseek(fd, 0, SEEK_SET) != 0)
        return 0;
    ppd_file_t* file = ppdOpenFd(fd);
    if (!file) std::abort();  // the PPD built above is always readable
    std::size_t length = 0;
    char* out = kzp::ppdxReadData(file, "L", &length);
    if (out) {
        if (out[length] != '\0') std::abort();
        std::free(out);
    }
    ppdClose(file);
    return 0;
}
