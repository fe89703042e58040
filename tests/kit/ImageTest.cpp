#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/Bundle.h"
#include "platform/kit/Image.h"

using namespace kz;

TEST(Image, PngRoundTripAndRefusals) {
    Image image(3, 2, "dot");
    image.setPixel(0, 0, 0xFF000080);
    image.setPixel(2, 1, 0x00FF00FF);
    std::string png = image.toPng();
    std::string error;
    auto back = Image::fromPng(png, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->pixelsWide(), 3u);
    EXPECT_EQ(back->pixelsHigh(), 2u);
    EXPECT_EQ(back->size(), (Size{3, 2}));
    EXPECT_EQ(back->pixel(0, 0), 0xFF000080u);
    EXPECT_EQ(back->pixel(2, 1), 0x00FF00FFu);
    EXPECT_EQ(back->pixel(9, 9), 0u);

    EXPECT_FALSE(Image::fromPng("GIF89a", &error));
    EXPECT_EQ(error, "not a PNG");
    // Cut short inside the pixel data: an error, not a crash.
    EXPECT_FALSE(Image::fromPng(std::string_view(png).substr(0, png.size() - 20), &error));
    EXPECT_FALSE(Image::fromPngFile("/nonexistent/icon.png", &error));
}

TEST(Image, DrawingIntoASmallerImageAveragesByCoverage) {
    Image image(4, 4);
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x) image.setPixel(x, y, x < 2 ? 0xFF0000FF : 0x0000FF00);  // right half transparent
    auto small = image.drawnAtSize(2, 1);
    EXPECT_EQ(small->size(), (Size{2, 1}));
    EXPECT_EQ(small->pixel(0, 0), 0xFF0000FFu);
    // A transparent colour does not tint what it is averaged with.
    EXPECT_EQ(small->pixel(1, 0), 0x00000000u);
    image.setPixel(3, 3, 0x0000FFFF);
    EXPECT_EQ(image.drawnAtSize(1, 1)->pixel(0, 0), 0xE2001C8Fu);
    image.setSize({16, 16});  // a new drawing size keeps the pixels
    EXPECT_EQ(image.pixelsWide(), 4u);
}

// A bundle's image by name: a PNG file, else an icon family's menu-sized
// picture (the shared favorites' mark is one), else none.
TEST(Image, ANamedImageIsTheBundlesPngOrItsIconFamilysMenuPicture) {
    namespace fs = std::filesystem;
    const fs::path bundle = fs::path(::testing::TempDir()) / ("kz-image-" + std::to_string(::getpid()) + ".bundle");
    const fs::path resources = bundle / "Contents/Resources";
    fs::create_directories(resources);
    fs::copy_file(fs::path(KZ_SOURCE_DIR) / "resources/bundle/Contents/Resources/Classic.icns", resources / "Mark.icns");
    Image dot(3, 2);
    std::ofstream(resources / "Dot.png", std::ios::binary) << dot.toPng();
    std::shared_ptr<Bundle> opened = Bundle::open(bundle.string());
    ASSERT_TRUE(opened);
    const Bundle& b = *opened;

    auto png = Image::named(b, "Dot");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->pixelsWide(), 3u);
    EXPECT_EQ(png->name(), "Dot");
    auto mark = Image::named(b, "Mark");
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->pixelsWide(), Image::kIconPixels);
    EXPECT_EQ(mark->name(), "Mark");
    EXPECT_FALSE(Image::named(b, "Nothing"));
    fs::remove_all(bundle);
}
