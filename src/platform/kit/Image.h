#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/kit/Geometry.h"

namespace kz {

class Bundle;

// A picture: RGBA pixels (8 bits a channel, not premultiplied) and the size
// in points it is drawn at, which starts as its pixel size. Images are read
// from PNG files; a name lets a native bridge map it to its own icon.
class KZ_EXPORT Image {
public:
    // Larger pictures are refused (a hostile file must not allocate at will).
    static constexpr std::uint32_t kMaxDimension = 8192;
    // The width of the icons menus and lists show.
    static constexpr std::uint32_t kIconPixels = 16;

    Image(std::uint32_t pixelsWide, std::uint32_t pixelsHigh, std::string name = {});

    // Null with the reason when the bytes are not a PNG this reads.
    static std::shared_ptr<Image> fromPng(std::string_view bytes, std::string* error = nullptr);
    static std::shared_ptr<Image> fromPngFile(const std::string& path, std::string* error = nullptr);
    // The bundle's resource "name" (or "name.png", else the kIconPixels
    // wide picture of the icon family "name.icns"), named after it; null
    // when there is none.
    static std::shared_ptr<Image> named(const Bundle& bundle, const std::string& name);

    const std::string& name() const { return _name; }
    void setName(std::string name) { _name = std::move(name); }
    const Size& size() const { return _size; }
    // Changes the size it is drawn at, not its pixels.
    void setSize(Size size) { _size = size; }
    std::uint32_t pixelsWide() const { return _width; }
    std::uint32_t pixelsHigh() const { return _height; }
    // Row-major, top row first, four bytes a pixel.
    const std::vector<std::uint8_t>& pixels() const { return _pixels; }
    std::uint32_t pixel(std::uint32_t x, std::uint32_t y) const;  // 0xRRGGBBAA
    void setPixel(std::uint32_t x, std::uint32_t y, std::uint32_t rgba);

    // A copy drawn into a picture of the given pixel size (each target pixel
    // the average of the source pixels it covers, weighted by alpha); its
    // size in points is the new pixel size.
    std::shared_ptr<Image> drawnAtSize(std::uint32_t pixelsWide, std::uint32_t pixelsHigh) const;

    std::string toPng() const;

private:
    std::string _name;
    std::uint32_t _width, _height;
    Size _size;
    std::vector<std::uint8_t> _pixels;
};

}  // namespace kz
