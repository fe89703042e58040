// Reading a 1 MiB list from a PPD attribute run, against the floor: Base64
// decoding and inflating the same chunk texts with libcups and zlib alone.
#include <benchmark/benchmark.h>
#include <cups/http.h>
#include <cups/ppd.h>
#include <zlib.h>

#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "Common/WebService/PrinterData.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

std::string list() {
    std::string s = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array>";
    for (int i = 0; s.size() < (1u << 20); ++i)
        s += "<dict><key>JobRecListName</key><string>Form " + std::to_string(i * 7919 % 100003) +
             "</string><key>JobRecListComment</key><string>c" + std::to_string(i) + "</string></dict>";
    return s + "</array></plist>";
}

struct Fixture {
    std::vector<std::string> chunks;
    ppd_file_t* ppd = nullptr;
    Fixture() {
        const std::string bytes = list();
        chunks = kzp::PrinterData::encode(bytes);
        FILE* base = std::fopen(KZ_TEST_DATA "/webservice/sample.ppd", "rb");
        std::string ppdText;
        for (int c; base && (c = std::fgetc(base)) != EOF;) ppdText += static_cast<char>(c);
        if (base) std::fclose(base);
        std::string text = kzp::PrinterData::embed(ppdText, "JobResource-FORM", bytes);
        // libcups reads PPDs from descriptors only: a memory file stands in.
        int fd = memfd_create("bench-ppd", 0);
        if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
        lseek(fd, 0, SEEK_SET);
        ppd = ppdOpenFd(fd);
        close(fd);
        if (!ppd) std::abort();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void ReadRun(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        std::size_t size = 0;
        char* data = kzp::ppdxReadData(f.ppd, "JobResource-FORM", &size);
        benchmark::DoNotOptimize(data);
        std::free(data);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) << 20);
}

// The floor: the same chunks, decoded and inflated as one stream into one
// buffer of the final size.
void DecodeAndInflateOnly(benchmark::State& state) {
    auto& f = fixture();
    std::vector<unsigned char> out(2u << 20);
    for (auto _ : state) {
        z_stream zs{};
        inflateInit(&zs);
        zs.next_out = out.data();
        zs.avail_out = static_cast<uInt>(out.size());
        for (const auto& c : f.chunks) {
            char chunk[160];
            int length = 159;
            httpDecode64_2(chunk, &length, c.c_str());
            zs.next_in = reinterpret_cast<Bytef*>(chunk);
            zs.avail_in = static_cast<uInt>(length);
            while (zs.avail_in > 0)
                if (inflate(&zs, Z_NO_FLUSH) != Z_OK) break;
        }
        inflateEnd(&zs);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) << 20);
}

}  // namespace

BENCHMARK(ReadRun)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeAndInflateOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
