#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Export.h"
#include "platform/kit/View.h"

namespace ComTORVALEKZ2R4_Plugin {

// An icon as the option controls use it: the PNG file and the size it is
// drawn at (at most 16 by 16 for item and slider icons).
struct QuillUIImage {
    std::string path;
    kz::Size size;
    kz::Size pixelSize;

    // The PNG's size from its header; none when the file is missing or not a
    // readable PNG.
    static std::optional<QuillUIImage> load(const std::string& path);
    bool operator==(const QuillUIImage&) const = default;
};

// The image views of an option control (group icon, state icons, slider
// icons): a view that shows one image, or nothing.
class KZ_EXPORT QuillUIIconView : public kz::View {
public:
    using View::View;
    std::string className() const override { return "ImageView"; }

    const std::optional<QuillUIImage>& image() const { return _image; }
    void setImage(std::optional<QuillUIImage> image);
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }

private:
    std::optional<QuillUIImage> _image;
    bool _enabled = true;
};

}  // namespace ComTORVALEKZ2R4_Plugin
