#include "platform/kit/View.h"

#include <algorithm>

#include "platform/kit/ViewClassOf.h"
#include "platform/kit/ViewPeer.h"
#include "platform/kit/Window.h"

namespace kz {

const ViewClass& View::described() {
    static const ViewClass c =
        ViewClassOf<View>("View", nullptr)
            .setter("frame", PropertyType::Any,
                    [](View& v, const Value& f, ViewLoading& l) { v.setFrame(ViewLoading::rect(f, l.path())); })
            .property("hidden", PropertyType::Bool, [](const View& v) { return Value(v.isHidden()); },
                      [](View& v, const Value& h) { v.setHidden(h.boolValue()); })
            .property("toolTip", PropertyType::String, [](const View& v) { return Value(v.toolTip()); },
                      [](View& v, const Value& t) { v.setToolTip(t.string()); })
            .setter("focusRingType", PropertyType::Integer,
                    [](View& v, const Value& r) { v.setFocusRingType(static_cast<FocusRingType>(std::clamp(r.intValue(), 0, 2))); })
            .shows("hidden", "hidden", DumpShape::Word)
            .shows("toolTip", "toolTip", DumpShape::TextIfAny)
            .reports("hidden")
            .done();
    return c;
}

std::string View::className() const { return viewClass().name(); }

bool View::walk(const std::function<Walk(View&, int)>& fn, WalkScope scope, int depth) const {
    if (depth > kMaxWalkDepth) return true;
    auto visit = [&](View& v) {
        Walk step = fn(v, depth);
        return step == Walk::Stop ? false : step == Walk::SkipChildren || v.walk(fn, scope, depth + 1);
    };
    if (scope == WalkScope::AllTabs) {
        for (View* sub : viewsOfAllTabs())
            if (!visit(*sub)) return false;
        return true;
    }
    // A copy that holds them: fn may take a view out of the tree.
    for (auto sub : std::vector<std::shared_ptr<View>>(_subviews))
        if (!visit(*sub)) return false;
    return true;
}

std::vector<View*> View::viewsOfAllTabs() const {
    std::vector<View*> out;
    for (const auto& sub : _subviews) out.push_back(sub.get());
    return out;
}

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
