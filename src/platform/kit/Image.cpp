#include "platform/kit/Image.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <optional>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileBytes.h"
#include "platform/kit/IcnsFile.h"

namespace kz {

namespace {

constexpr std::size_t kMaxFileBytes = 64u * 1024 * 1024;

struct Reader {
    std::string_view bytes;
    std::size_t at = 0;
};

void readBytes(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (n > r->bytes.size() - r->at) png_error(png, "truncated PNG");
    std::memcpy(out, r->bytes.data() + r->at, n);
    r->at += n;
}

void writeBytes(png_structp png, png_bytep data, png_size_t n) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}

void flushNothing(png_structp) {}

// libpng reports through longjmp; the message is kept for the caller.
void onError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text) *text = message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

}  // namespace

Image::Image(std::uint32_t w, std::uint32_t h, std::string name)
    : _name(std::move(name)),
      _width(std::min(w, kMaxDimension)),
      _height(std::min(h, kMaxDimension)),
      _size{static_cast<double>(_width), static_cast<double>(_height)},
      _pixels(static_cast<std::size_t>(_width) * _height * 4, 0) {}

std::uint32_t Image::pixel(std::uint32_t x, std::uint32_t y) const {
    if (x >= _width || y >= _height) return 0;
    const std::uint8_t* p = &_pixels[(static_cast<std::size_t>(y) * _width + x) * 4];
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void Image::setPixel(std::uint32_t x, std::uint32_t y, std::uint32_t rgba) {
    if (x >= _width || y >= _height) return;
    std::uint8_t* p = &_pixels[(static_cast<std::size_t>(y) * _width + x) * 4];
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(rgba >> (24 - 8 * i));
}

namespace {

// The libpng work, with no C++ object of its own: a longjmp back into this
// frame must not skip a destructor. The caller owns the pixels.
bool decodePng(Reader* reader, std::string* message, std::vector<std::uint8_t>* pixels, png_uint_32* w,
               png_uint_32* h) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, message, onError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        return false;
    }
    png_set_read_fn(png, reader, readBytes);
    png_set_user_limits(png, Image::kMaxDimension, Image::kMaxDimension);
    png_set_chunk_malloc_max(png, 16u * 1024 * 1024);
    png_read_info(png, info);
    int depth = 0, colour = 0;
    png_get_IHDR(png, info, w, h, &depth, &colour, nullptr, nullptr, nullptr);
    // Everything becomes 8-bit RGBA.
    if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(*w) * 4) png_error(png, "unexpected PNG row layout");
    pixels->assign(static_cast<std::size_t>(*w) * *h * 4, 0);
    // Row by row: no array of row pointers to own.
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < *h; ++y)
            png_read_row(png, &(*pixels)[static_cast<std::size_t>(y) * *w * 4], nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool encodePng(const std::uint8_t* pixels, std::uint32_t w, std::uint32_t h, std::string* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, out, writeBytes, flushNothing);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < h; ++y) png_write_row(png, pixels + static_cast<std::size_t>(y) * w * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::shared_ptr<Image> Image::fromPng(std::string_view bytes, std::string* error) {
    std::string message = "not a PNG";
    Reader reader{bytes};
    std::vector<std::uint8_t> pixels;
    png_uint_32 w = 0, h = 0;
    if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0 ||
        !decodePng(&reader, &message, &pixels, &w, &h)) {
        if (error) *error = message;
        return nullptr;
    }
    auto image = std::make_shared<Image>(w, h);
    image->_pixels = std::move(pixels);
    return image;
}

std::shared_ptr<Image> Image::fromPngFile(const std::string& path, std::string* error) {
    std::string bytes;
    FileBytes::Status status = FileBytes::read(path, kMaxFileBytes, &bytes);
    if (status != FileBytes::Status::ok) {
        if (error) *error = path + (status == FileBytes::Status::tooLarge ? ": too large" : ": cannot be read");
        return nullptr;
    }
    std::string why;
    auto image = fromPng(bytes, &why);
    if (!image && error) *error = path + ": " + why;
    return image;
}

std::shared_ptr<Image> Image::named(const Bundle& bundle, const std::string& name) {
    if (name.empty()) return nullptr;
    std::string path = bundle.pathForResource(name, "");
    if (path.empty()) path = bundle.pathForResource(name, "png");
    std::shared_ptr<Image> image;
    if (!path.empty()) {
        image = fromPngFile(path);
    } else if (path = bundle.pathForResource(name, "icns"); !path.empty()) {
        // Icons the bundle keeps as a family: the size menus and lists show.
        std::optional<IcnsFile> family = IcnsFile::fromFile(path);
        if (family) image = family->imageForPixelsWide(kIconPixels);
    }
    if (image) image->setName(name);
    return image;
}

std::shared_ptr<Image> Image::drawnAtSize(std::uint32_t w, std::uint32_t h) const {
    auto out = std::make_shared<Image>(w, h, _name);
    if (_width == 0 || _height == 0) return out;
    for (std::uint32_t ty = 0; ty < out->_height; ++ty) {
        std::uint64_t y0 = std::uint64_t(ty) * _height / out->_height;
        std::uint64_t y1 = std::max<std::uint64_t>(y0 + 1, std::uint64_t(ty + 1) * _height / out->_height);
        for (std::uint32_t tx = 0; tx < out->_width; ++tx) {
            std::uint64_t x0 = std::uint64_t(tx) * _width / out->_width;
            std::uint64_t x1 = std::max<std::uint64_t>(x0 + 1, std::uint64_t(tx + 1) * _width / out->_width);
            std::uint64_t sum[4] = {0, 0, 0, 0}, count = 0;
            for (std::uint64_t y = y0; y < y1 && y < _height; ++y)
                for (std::uint64_t x = x0; x < x1 && x < _width; ++x) {
                    const std::uint8_t* p = &_pixels[(y * _width + x) * 4];
                    for (int c = 0; c < 3; ++c) sum[c] += std::uint64_t(p[c]) * p[3];
                    sum[3] += p[3];
                    ++count;
                }
            std::uint8_t* q = &out->_pixels[(std::size_t(ty) * out->_width + tx) * 4];
            for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>(sum[3] ? sum[c] / sum[3] : 0);
            q[3] = static_cast<std::uint8_t>(count ? sum[3] / count : 0);
        }
    }
    return out;
}

std::string Image::toPng() const {
    std::string out;
    if (!encodePng(_pixels.data(), _width, _height, &out)) return {};
    return out;
}

}  // namespace kz
