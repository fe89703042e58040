#include "platform/kit/ScrollView.h"

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

}  // namespace kz
