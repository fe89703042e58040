#include "Common/WebService/PrinterData.h"

#include <cups/http.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/foundation/Log.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using kzp::PrinterData;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string& basePpd() {
    static const std::string text = readFile(KZ_TEST_DATA "/webservice/sample.ppd");
    return text;
}

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdCloser>;

// Writes the text to a temporary file and opens it with libcups.
PpdPtr openPpd(const std::string& text, std::string* pathOut = nullptr) {
    char path[] = "/tmp/kz-printerdata-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(fd);
    PpdPtr ppd(ppdOpenFile(path));
    if (pathOut)
        *pathOut = path;
    else
        unlink(path);
    return ppd;
}

std::string pseudoRandom(std::size_t n) {
    std::string s(n, '\0');
    unsigned x = 12345;
    for (auto& c : s) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
    return s;
}

std::string textList(std::size_t n) {
    std::string s = "<array>";
    for (std::size_t i = 0; s.size() < n; ++i) s += "<dict><key>Type</key><string>Tray " + std::to_string(i) + "</string></dict>";
    return s + "</array>";
}

std::string removeLine(std::string text, const std::string& prefix) {
    auto at = text.find("\n" + prefix);
    auto end = text.find('\n', at + 1);
    return text.erase(at + 1, end - at);
}

std::string replaceValue(std::string text, const std::string& attr, const std::string& value) {
    auto at = text.find("*" + attr + ": \"") + attr.size() + 4;
    auto end = text.find('"', at);
    return text.replace(at, end - at, value);
}

std::string base64(const std::string& bytes) {
    char out[512];
    httpEncode64_2(out, sizeof out, bytes.data(), static_cast<int>(bytes.size()));
    return out;
}

// Attribute lines of a run whose values are `chunk`-byte pieces of `stream`.
std::string runLines(const std::string& name, const std::string& stream, std::size_t chunk) {
    std::string lines;
    for (std::size_t at = 0, i = 0; at < stream.size(); at += chunk, ++i)
        lines += "*" + PrinterData::attributeName(name, static_cast<unsigned>(i)) + ": \"" +
                 base64(stream.substr(at, chunk)) + "\"\n";
    return lines;
}

// What a plain zlib compressor makes of `bytes` in one call.
std::string compressed(const std::string& bytes, int level = Z_BEST_COMPRESSION) {
    uLongf length = compressBound(static_cast<uLong>(bytes.size()));
    std::string packed(length, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
                        reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()), level),
              Z_OK);
    packed.resize(length);
    return packed;
}

// A run written the way that lets a reader recover: the compressor fully
// flushed after every 128 input bytes, one flushed segment per chunk.
std::string flushedRun(const std::string& name, const std::string& bytes) {
    z_stream zs{};
    EXPECT_EQ(deflateInit(&zs, Z_BEST_COMPRESSION), Z_OK);
    std::string lines;
    unsigned sequence = 0;
    for (std::size_t offset = 0;;) {
        const std::size_t piece = std::min<std::size_t>(128, bytes.size() - offset);
        const bool last = offset + piece == bytes.size();
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + offset));
        zs.avail_in = static_cast<uInt>(piece);
        offset += piece;
        unsigned char buffer[512];
        zs.next_out = buffer;
        zs.avail_out = sizeof buffer;
        deflate(&zs, last ? Z_FINISH : Z_FULL_FLUSH);
        const std::string segment(reinterpret_cast<char*>(buffer), sizeof buffer - zs.avail_out);
        EXPECT_LE(segment.size(), 159u);
        lines += "*" + PrinterData::attributeName(name, sequence++) + ": \"" + base64(segment) + "\"\n";
        if (last) break;
    }
    deflateEnd(&zs);
    return lines;
}

}  // namespace

TEST(PrinterData, ReadsPlainZlibStreamsCutIntoFullChunks) {
    // Stored blocks (level 0) and compressed ones: every chunk carries all
    // 159 bytes, the last one of each included.
    for (int level : {0, Z_BEST_COMPRESSION})
        for (const std::string& bytes : {pseudoRandom(3000), textList(20000)}) {
            const std::string stream = compressed(bytes, level);
            ASSERT_GT(stream.size(), 2 * 159u);
            testing::internal::CaptureStderr();
            auto ppd = openPpd(basePpd() + runLines("FeederInfoList", stream, 159));
            auto read = PrinterData::read(ppd.get(), "FeederInfoList");
            EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
            ASSERT_TRUE(read);
            EXPECT_EQ(*read, bytes) << "level " << level;
        }
}

TEST(PrinterData, WriterMakesOneStreamInChunksOldReadersReadWhole) {
    const std::string bytes = textList(20000);
    const auto chunks = PrinterData::encode(bytes);
    std::string stream;
    for (const std::string& chunk : chunks) {
        // A reader declaring 159 bytes of room gets at most 158: enough.
        char decoded[160];
        int length = 159;
        httpDecode64_2(decoded, &length, chunk.c_str());
        EXPECT_LE(length, 158);
        stream.append(decoded, static_cast<std::size_t>(length));
    }
    std::string inflated(bytes.size(), '\0');
    uLongf size = static_cast<uLongf>(inflated.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                         reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size())),
              Z_OK);
    EXPECT_EQ(inflated, bytes);
    // No flush points: the run is as short as the stream allows.
    EXPECT_EQ(chunks.size(), (stream.size() + 157) / 158);
}

TEST(PrinterData, RoundTripsListsOfEverySizeInGaplessChunks) {
    for (const std::string& bytes : {std::string(), textList(1000), pseudoRandom(5000), textList(300000)}) {
        std::string text = PrinterData::embed(basePpd(), "StackerInfoList", bytes);
        auto chunks = PrinterData::encode(bytes);
        for (std::size_t i = 0; i < chunks.size(); ++i) {
            char decoded[400];
            int length = sizeof decoded;
            httpDecode64_2(decoded, &length, chunks[i].c_str());
            EXPECT_LE(length, 158);
            EXPECT_NE(text.find("*" + PrinterData::attributeName("StackerInfoList", static_cast<unsigned>(i)) + ": \""),
                      std::string::npos);
        }
        auto ppd = openPpd(text);
        ASSERT_TRUE(ppd);
        auto read = PrinterData::read(ppd.get(), "StackerInfoList");
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, bytes);
    }
    EXPECT_EQ(PrinterData::attributeName("Font", 0x1A), "Font001A");
}

TEST(PrinterData, ReEmbeddingReplacesTheWholeRunAndKeepsOtherRuns) {
    std::string text = PrinterData::embed(basePpd(), "Font", textList(20000));
    text = PrinterData::embed(text, "FontX", "other");
    text = PrinterData::embed(text, "Font", "small");
    auto ppd = openPpd(text);
    ASSERT_TRUE(ppd);
    EXPECT_EQ(PrinterData::read(ppd.get(), "Font").value_or(""), "small");
    EXPECT_EQ(PrinterData::read(ppd.get(), "FontX").value_or(""), "other");
    EXPECT_EQ(PrinterData::runNames(ppd.get()), (std::vector<std::string>{"Font", "FontX"}));
}

TEST(PrinterData, MissingRunOrHandleGivesNothing) {
    auto ppd = openPpd(basePpd());
    std::size_t size = 99;
    EXPECT_EQ(kzp::ppdxReadData(ppd.get(), "DeviceList", &size), nullptr);
    EXPECT_EQ(size, 0u);
    size = 99;
    EXPECT_EQ(kzp::ppdxReadData(nullptr, "DeviceList", &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(kzp::ppdxReadData(ppd.get(), nullptr, &size), nullptr);
}

TEST(PrinterData, GapEndsTheRunAndBadBase64EndsIt) {
    const std::string bytes = pseudoRandom(400);  // stored segments: 128 bytes per chunk
    std::string text = basePpd() + flushedRun("DeviceList", bytes);
    auto ppd = openPpd(removeLine(text, "*DeviceList0001:"));
    EXPECT_EQ(PrinterData::read(ppd.get(), "DeviceList").value_or("?"), bytes.substr(0, 128));

    ppd = openPpd(replaceValue(text, "DeviceList0002", ""));
    EXPECT_EQ(PrinterData::read(ppd.get(), "DeviceList").value_or("?"), bytes.substr(0, 256));
}

TEST(PrinterData, BrokenChunkOfAFlushedStreamCostsOnlyItself) {
    const std::string bytes = pseudoRandom(600);
    std::string text = basePpd() + flushedRun("JobFolder", bytes);
    // 0xFF starts a block of the invalid type 3: inflate fails at once.
    auto ppd = openPpd(replaceValue(text, "JobFolder0001", base64(std::string(40, '\xff'))));
    kz::LogCapture log;
    auto read = PrinterData::read(ppd.get(), "JobFolder");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, bytes.substr(0, 128) + bytes.substr(256));
    EXPECT_TRUE(log.contains("ERROR: inflate returned -3 ("));
}

TEST(PrinterData, InflatedSizeIsCappedAt16MiB) {
    // One ordinary zlib stream of 40 MiB of zeros, cut into chunks.
    auto ppd = openPpd(basePpd() + runLines("CalibFile", compressed(std::string(40u << 20, '\0')), 159));
    std::size_t size = 0;
    char* data = kzp::ppdxReadData(ppd.get(), "CalibFile", &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 16u << 20);
    EXPECT_EQ(data[size], '\0');
    std::free(data);
}

TEST(PrinterData, WrittenPpdPassesCupsTestPpd) {
    if (std::system("command -v cupstestppd >/dev/null 2>&1") != 0) GTEST_SKIP() << "cupstestppd not installed";
    std::string text = PrinterData::embed(basePpd(), "JobResource-CUSTOM_NOTE", textList(50000));
    text = PrinterData::embed(text, "StackerInfoList", pseudoRandom(3000));
    std::string path;
    auto ppd = openPpd(text, &path);
    EXPECT_EQ(std::system(("cupstestppd -q " + path).c_str()), 0);
    unlink(path.c_str());
}
