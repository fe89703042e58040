#include "platform/kit/ImageView.h"

namespace kz {

void ImageView::setImage(std::shared_ptr<Image> image) {
    if (image == _image) return;
    _image = std::move(image);
    changed("image");
}

}  // namespace kz
