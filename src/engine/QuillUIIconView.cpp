#include "engine/QuillUIIconView.h"

#include <png.h>

#include <cstring>

namespace ComTORVALEKZ2R4_Plugin {

std::optional<QuillUIImage> QuillUIImage::load(const std::string& path) {
    if (path.empty()) return std::nullopt;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    // Only the header is read: the size is all the controls need.
    if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
    QuillUIImage out;
    out.path = path;
    out.pixelSize = kz::Size{static_cast<double>(image.width), static_cast<double>(image.height)};
    out.size = out.pixelSize;
    png_image_free(&image);
    return out;
}

void QuillUIIconView::setImage(std::optional<QuillUIImage> image) {
    if (image == _image) return;
    _image = std::move(image);
    changed("image");
}

}  // namespace ComTORVALEKZ2R4_Plugin
