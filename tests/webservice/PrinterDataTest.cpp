#include "Common/WebService/PrinterData.h"

#include <cups/http.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

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

}  // namespace

TEST(PrinterData, RoundTripsListsOfEverySizeInGaplessChunks) {
    for (const std::string& bytes : {std::string(), textList(1000), pseudoRandom(5000), textList(300000)}) {
        std::string text = PrinterData::embed(basePpd(), "StackerInfoList", bytes);
        auto chunks = PrinterData::encode(bytes);
        for (std::size_t i = 0; i < chunks.size(); ++i) {
            char decoded[400];
            int length = sizeof decoded;
            httpDecode64_2(decoded, &length, chunks[i].c_str());
            EXPECT_LE(length, 159);
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
    std::string text = PrinterData::embed(basePpd(), "DeviceList", bytes);
    auto ppd = openPpd(removeLine(text, "*DeviceList0001:"));
    EXPECT_EQ(PrinterData::read(ppd.get(), "DeviceList").value_or("?"), bytes.substr(0, 128));

    ppd = openPpd(replaceValue(text, "DeviceList0002", ""));
    EXPECT_EQ(PrinterData::read(ppd.get(), "DeviceList").value_or("?"), bytes.substr(0, 256));
}

TEST(PrinterData, BrokenChunkCostsOnlyItself) {
    const std::string bytes = pseudoRandom(600);
    std::string text = PrinterData::embed(basePpd(), "JobFolder", bytes);
    // 0xFF starts a block of the invalid type 3: inflate fails at once.
    auto ppd = openPpd(replaceValue(text, "JobFolder0001", base64(std::string(40, '\xff'))));
    testing::internal::CaptureStderr();
    auto read = PrinterData::read(ppd.get(), "JobFolder");
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, bytes.substr(0, 128) + bytes.substr(256));
    EXPECT_NE(err.find("ERROR: inflate returned -3 ("), std::string::npos);
}

TEST(PrinterData, InflatedSizeIsCappedAt16MiB) {
    // One ordinary zlib stream of 40 MiB of zeros, cut into chunks.
    std::string zeros(40u << 20, '\0');
    uLongf length = compressBound(static_cast<uLong>(zeros.size()));
    std::string packed(length, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
                        reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uLong>(zeros.size()), 9),
              Z_OK);
    packed.resize(length);
    std::string text = basePpd();
    for (std::size_t at = 0, i = 0; at < packed.size(); at += 159, ++i)
        text += "*CalibFile" + PrinterData::attributeName("", static_cast<unsigned>(i)) + ": \"" +
                base64(packed.substr(at, 159)) + "\"\n";
    auto ppd = openPpd(text);
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
