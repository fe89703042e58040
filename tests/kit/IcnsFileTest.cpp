#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kit/IcnsFile.h"
#include "platform/kit/Image.h"

using namespace kz;

namespace {

std::string bigEndian(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string entry(const std::string& type, const std::string& data) {
    return type + bigEndian(static_cast<std::uint32_t>(data.size() + 8)) + data;
}

std::string family(const std::vector<std::string>& entries) {
    std::string body;
    for (const auto& e : entries) body += e;
    return "icns" + bigEndian(static_cast<std::uint32_t>(body.size() + 8)) + body;
}

// One channel of 256 pixels: a run of 130 and one of 126 of the value.
std::string runsOf(unsigned char value) {
    return std::string{char(0xFF), char(value), char(0xFB), char(value)};
}

}  // namespace

TEST(IcnsFile, RunLengthEntryTakesItsMaskAndLiteralsLandInPlace) {
    // Red plane: two literal bytes, then a run for the other 254 pixels.
    std::string red = std::string{char(0x01), char(0x10), char(0x20)} + char(0xFF) + char(0x30) + char(0xF9) +
                      char(0x30);
    std::string mask(256, char(0x80));
    mask[1] = char(0x00);
    auto file = IcnsFile::fromBytes(family({entry("is32", red + runsOf(0x40) + runsOf(0x50)), entry("s8mk", mask)}));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->images().size(), 1u);
    const Image& image = *file->images()[0];
    EXPECT_EQ(image.pixelsWide(), 16u);
    EXPECT_EQ(image.pixel(0, 0), 0x10405080u);
    EXPECT_EQ(image.pixel(1, 0), 0x20405000u);
    EXPECT_EQ(image.pixel(15, 15), 0x30405080u);

    // Without its mask the picture is opaque; a run past the plane's end
    // leaves the entry out but keeps the file.
    file = IcnsFile::fromBytes(family({entry("is32", runsOf(1) + runsOf(2) + runsOf(3))}));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->images()[0]->pixel(7, 7), 0x010203FFu);
    file = IcnsFile::fromBytes(family({entry("is32", runsOf(1) + runsOf(2) + runsOf(3) + runsOf(4).substr(0, 2)),
                                       entry("is32", runsOf(1) + runsOf(2) + std::string{char(0xFF), char(3)})}));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->images().size(), 1u);  // trailing bytes are harmless, a short plane is not
}

TEST(IcnsFile, PngAndArgbEntriesAndChoosingASize) {
    Image big(64, 64);
    big.setPixel(0, 0, 0x11223344);
    std::string argb = "ARGB" + runsOf(0xFF) + runsOf(0xAA) + runsOf(0xBB) + runsOf(0xCC);
    auto file = IcnsFile::fromBytes(family({entry("ic12", big.toPng()), entry("ic04", argb), entry("TOC ", "xxxx")}));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->images().size(), 2u);
    EXPECT_EQ(file->images()[0]->pixel(3, 3), 0xAABBCCFFu);  // narrowest first
    const auto& retina = file->images()[1];
    EXPECT_EQ(retina->pixel(0, 0), 0x11223344u);
    EXPECT_EQ(retina->size(), (Size{32, 32}));  // a double-density entry is drawn at half its pixels

    EXPECT_EQ(file->imageForPixelsWide(16)->pixelsWide(), 16u);
    EXPECT_EQ(file->imageForPixelsWide(17)->pixelsWide(), 64u);
    EXPECT_EQ(file->imageForPixelsWide(512)->pixelsWide(), 64u);
    EXPECT_EQ(IcnsFile::fromBytes(family({}))->imageForPixelsWide(16), nullptr);
}

TEST(IcnsFile, BrokenContainersAreRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(IcnsFile::fromBytes("\x89PNG\r\n\x1a\n", &error));
    EXPECT_EQ(error, "not an icon family");
    std::string good = family({entry("is32", runsOf(1) + runsOf(2) + runsOf(3))});
    EXPECT_FALSE(IcnsFile::fromBytes(good.substr(0, good.size() - 1), &error));
    EXPECT_EQ(error, "its length does not match its size");
    // An entry claiming less than its own header would never move on.
    EXPECT_FALSE(IcnsFile::fromBytes(family({"is32" + bigEndian(0)}), &error));
    EXPECT_EQ(error, "an entry runs past the end at byte 8");
    EXPECT_FALSE(IcnsFile::fromBytes(family({"is32" + bigEndian(4000)}), &error));
    EXPECT_FALSE(IcnsFile::fromBytes(family({"is3"}), &error));
    EXPECT_EQ(error, "an entry is cut short at byte 8");
    EXPECT_FALSE(IcnsFile::fromBytes(family(std::vector<std::string>(300, entry("info", ""))), &error));
    EXPECT_EQ(error, "more than 256 entries");
    EXPECT_FALSE(IcnsFile::fromFile("/nonexistent/Classic.icns", &error));
}
