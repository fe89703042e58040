#pragma once

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/kit/Geometry.h"
#include "platform/kit/Responder.h"

namespace kz {

class ViewClass;
class ViewPeer;
class Window;

enum class FocusRingType : int { Default = 0, None = 1, Exterior = 2 };

// A rectangle in its superview's coordinates that owns its subviews. Every
// setter that changes what is shown tells the nearest peer up the tree.
class KZ_EXPORT View : public Responder, public std::enable_shared_from_this<View> {
public:
    View() = default;
    explicit View(Rect frame) : _frame(frame) {}
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // What a view of this class is: its properties for the loader, the dump
    // and reports. Each class with properties of its own answers its own.
    static const ViewClass& described();
    virtual const ViewClass& viewClass() const { return described(); }
    // The class name as the view descriptions and the text dump spell it
    // (its description's, unless a class names itself otherwise).
    virtual std::string className() const;

    const Rect& frame() const { return _frame; }
    void setFrame(Rect frame);
    void setFrameOrigin(Point origin);
    void setFrameSize(Size size);
    Rect bounds() const { return Rect(0, 0, _frame.size.width, _frame.size.height); }

    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden);
    // Hidden itself or below a hidden view.
    bool isHiddenOrHasHiddenAncestor() const;

    const std::string& toolTip() const { return _toolTip; }
    void setToolTip(std::string toolTip);

    FocusRingType focusRingType() const { return _focusRingType; }
    void setFocusRingType(FocusRingType type);

    View* superview() const { return _superview; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return _subviews; }
    void addSubview(std::shared_ptr<View> view);
    // Detaches from the superview; the view dies unless someone else holds it.
    void removeFromSuperview();
    void removeAllSubviews();
    bool isDescendantOf(const View& other) const;

    // How a walk goes on after a view.
    enum class Walk { Continue, SkipChildren, Stop };
    // Which views a walk sees below a view: its subviews, or below a tab
    // view the views of all its tabs (those not in front are no subviews).
    enum class WalkScope { Subviews, AllTabs };
    // Deeper than this a walk looks no further (a tab's view may hold its
    // own tab view).
    static constexpr int kMaxWalkDepth = 64;

    // Calls fn for every view below this one, depth first in subview order.
    // fn takes the view, or the view and its depth (1 for a subview), and
    // answers nothing or a Walk. False when fn stopped the walk.
    template <class F>
    bool forEachDescendant(F&& fn, WalkScope scope = WalkScope::Subviews) const {
        return walk(
            [&fn](View& v, int depth) {
                if constexpr (std::is_invocable_v<F, View&, int>) {
                    if constexpr (std::is_void_v<std::invoke_result_t<F, View&, int>>) return fn(v, depth), Walk::Continue;
                    else return fn(v, depth);
                } else {
                    if constexpr (std::is_void_v<std::invoke_result_t<F, View&>>) return fn(v), Walk::Continue;
                    else return fn(v);
                }
            },
            scope);
    }
    // Every view below this one that is a T.
    template <class T, class F>
    void forEachDescendantOf(F&& fn, WalkScope scope = WalkScope::Subviews) const {
        forEachDescendant(
            [&fn](View& v) {
                if (auto* t = dynamic_cast<T*>(&v)) fn(*t);
            },
            scope);
    }
    // The first view below this one, depth first, that pred accepts.
    template <class Pred>
    View* findDescendant(Pred&& pred, WalkScope scope = WalkScope::Subviews) const {
        View* found = nullptr;
        forEachDescendant(
            [&](View& v) {
                if (!pred(v)) return Walk::Continue;
                found = &v;
                return Walk::Stop;
            },
            scope);
        return found;
    }
    // The first view below this one that is a T and that pred accepts.
    template <class T, class Pred>
    T* findDescendant(Pred&& pred, WalkScope scope = WalkScope::Subviews) const {
        T* found = nullptr;
        forEachDescendant(
            [&](View& v) {
                auto* t = dynamic_cast<T*>(&v);
                if (!t || !pred(*t)) return Walk::Continue;
                found = t;
                return Walk::Stop;
            },
            scope);
        return found;
    }

    // The window whose content view is at the root of this tree, or null.
    Window* window() const;

    // The peer of this view; changes below a view with a peer go to it.
    void setPeer(std::shared_ptr<ViewPeer> peer) { _peer = std::move(peer); }
    ViewPeer* peer() const;

protected:
    // The views a walk over all tabs sees below this one: its subviews (a
    // tab view: every tab's view, in the tabs' order).
    virtual std::vector<View*> viewsOfAllTabs() const;
    // After the frame changed (a box keeps its content view fitted).
    virtual void frameDidChange() {}
    // Reports a visible change to the peer.
    void changed(std::string_view property);

private:
    friend class Window;
    bool walk(const std::function<Walk(View&, int)>& fn, WalkScope scope, int depth = 1) const;
    Rect _frame;
    bool _hidden = false;
    std::string _toolTip;
    FocusRingType _focusRingType = FocusRingType::Default;
    View* _superview = nullptr;
    std::vector<std::shared_ptr<View>> _subviews;
    std::shared_ptr<ViewPeer> _peer;
    Window* _rootWindow = nullptr;  // set on a window's content view only
};

}  // namespace kz
