#pragma once

#include <memory>

#include "platform/kit/Image.h"
#include "platform/kit/View.h"

namespace kz {

// Shows one image (none: empty).
class KZ_EXPORT ImageView : public View {
public:
    using View::View;
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    const std::shared_ptr<Image>& image() const { return _image; }
    void setImage(std::shared_ptr<Image> image);

private:
    std::shared_ptr<Image> _image;
};

}  // namespace kz
