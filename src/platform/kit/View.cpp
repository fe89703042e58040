#include "platform/kit/View.h"

#include <algorithm>

#include "platform/kit/ViewPeer.h"
#include "platform/kit/Window.h"

namespace kz {

View::~View() {
    for (auto& v : _subviews) v->_superview = nullptr;
}

void View::setFrame(Rect frame) {
    if (frame == _frame) return;
    _frame = frame;
    frameDidChange();
    changed("frame");
}

void View::setFrameOrigin(Point origin) { setFrame(Rect(origin.x, origin.y, _frame.size.width, _frame.size.height)); }

void View::setFrameSize(Size size) { setFrame(Rect(_frame.origin.x, _frame.origin.y, size.width, size.height)); }

void View::setHidden(bool hidden) {
    if (hidden == _hidden) return;
    _hidden = hidden;
    if (hidden)
        if (Window* w = window()) w->viewWillLeave(*this);
    changed("hidden");
}

bool View::isHiddenOrHasHiddenAncestor() const {
    for (const View* v = this; v; v = v->_superview)
        if (v->_hidden) return true;
    return false;
}

void View::setToolTip(std::string toolTip) {
    if (toolTip == _toolTip) return;
    _toolTip = std::move(toolTip);
    changed("toolTip");
}

void View::setFocusRingType(FocusRingType type) {
    if (type == _focusRingType) return;
    _focusRingType = type;
    changed("focusRingType");
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view || view.get() == this || isDescendantOf(*view)) return;
    view->removeFromSuperview();
    view->_superview = this;
    _subviews.push_back(view);
    if (ViewPeer* p = peer()) p->subviewAdded(*this, *view);
}

void View::removeFromSuperview() {
    View* parent = _superview;
    if (!parent) return;
    if (Window* w = window()) w->viewWillLeave(*this);
    auto keep = shared_from_this();  // alive while the peer hears of it
    auto& siblings = parent->_subviews;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](auto& v) { return v.get() == this; }),
                   siblings.end());
    _superview = nullptr;
    if (ViewPeer* p = parent->peer()) p->subviewRemoved(*parent, *this);
}

void View::removeAllSubviews() {
    while (!_subviews.empty()) _subviews.back()->removeFromSuperview();
}

bool View::isDescendantOf(const View& other) const {
    for (const View* v = this; v; v = v->_superview)
        if (v == &other) return true;
    return false;
}

Window* View::window() const {
    const View* v = this;
    while (v->_superview) v = v->_superview;
    return v->_rootWindow;
}

ViewPeer* View::peer() const {
    for (const View* v = this; v; v = v->_superview)
        if (v->_peer) return v->_peer.get();
    return nullptr;
}

void View::changed(std::string_view property) {
    if (ViewPeer* p = peer()) p->viewChanged(*this, property);
}

}  // namespace kz
