#include "platform/kit/ImageView.h"

#include "platform/kit/ViewClassOf.h"

namespace kz {

void ImageView::setImage(std::shared_ptr<Image> image) {
    if (image == _image) return;
    _image = std::move(image);
    changed("image");
}

const ViewClass& ImageView::described() {
    static const ViewClass c =
        ViewClassOf<ImageView>("ImageView", &View::described())
            .property("image", [](const ImageView& v) { return v.image() ? Value(v.image()->name()) : Value(); })
            .property("imageSize",
                      [](const ImageView& v) -> std::optional<Value> {
                          if (!v.image()) return std::nullopt;
                          return Value(Array{ViewClass::number(v.image()->size().width), ViewClass::number(v.image()->size().height)});
                      })
            .shows("image", "image", DumpShape::Sized, "imageSize")
            .reports("image")
            .reports("imageSize")
            .done();
    return c;
}

}  // namespace kz
