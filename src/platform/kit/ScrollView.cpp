#include "platform/kit/ScrollView.h"

#include "platform/kit/ViewClassOf.h"

namespace kz {

ScrollView::ScrollView(Rect frame) : View(frame), _clip(std::make_shared<ClipView>(bounds())) { addSubview(_clip); }

View* ScrollView::documentView() const {
    return _clip->subviews().empty() ? nullptr : _clip->subviews().front().get();
}

void ScrollView::setDocumentView(std::shared_ptr<View> view) {
    _clip->removeAllSubviews();
    if (view) _clip->addSubview(std::move(view));
}

void ScrollView::frameDidChange() { _clip->setFrame(bounds()); }

// Made by its scroll view only.
const ViewClass& ClipView::described() {
    static const ViewClass c = ViewClassOf<ClipView>("ClipView", &View::described()).madeBy(nullptr).done();
    return c;
}

const ViewClass& ScrollView::described() {
    static const ViewClass c = ViewClassOf<ScrollView>("ScrollView", &View::described())
                                   .setter("documentView", PropertyType::Any,
                                           [](ScrollView& s, const Value& d, ViewLoading& l) {
                                               s.setDocumentView(l.build(d, "/documentView"));
                                           })
                                   .done();
    return c;
}

}  // namespace kz
