#include "platform/kit/Box.h"

#include "platform/kit/ViewClassOf.h"

namespace kz {

Box::Box(Rect frame) : View(frame) {
    setContentView(std::make_shared<View>(Rect(0, 0, frame.size.width, frame.size.height)));
}

void Box::frameDidChange() {
    if (_contentView) _contentView->setFrame(Rect(0, 0, frame().size.width, frame().size.height));
}

void Box::setTitle(std::string title) {
    if (title == _title) return;
    _title = std::move(title);
    changed("title");
}

void Box::setContentView(std::shared_ptr<View> view) {
    if (!view) return;
    if (_contentView) _contentView->removeFromSuperview();
    _contentView = std::move(view);
    addSubview(_contentView);
}

// A box's subviews go into its content view.
const ViewClass& Box::described() {
    static const ViewClass c = ViewClassOf<Box>("Box", &View::described())
                                   .property("title", PropertyType::String, [](const Box& b) { return Value(b.title()); },
                                             [](Box& b, const Value& t) { b.setTitle(t.string()); })
                                   .subviewsIn([](Box& b) -> View& { return b.contentView(); })
                                   .shows("title", "title", DumpShape::Text)
                                   .done();
    return c;
}

}  // namespace kz
