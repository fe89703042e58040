#include "platform/kit/BrowserCell.h"

namespace kz {

void BrowserCell::setImage(std::shared_ptr<Image> image) {
    if (image == _image) return;
    _image = std::move(image);
    changed("image");
}

}  // namespace kz
