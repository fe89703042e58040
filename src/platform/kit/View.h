#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/kit/Geometry.h"
#include "platform/kit/Responder.h"

namespace kz {

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

    // The class name as the view descriptions and the text dump spell it.
    virtual std::string className() const { return "View"; }

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

    // The window whose content view is at the root of this tree, or null.
    Window* window() const;

    // The peer of this view; changes below a view with a peer go to it.
    void setPeer(std::shared_ptr<ViewPeer> peer) { _peer = std::move(peer); }
    ViewPeer* peer() const;

protected:
    // After the frame changed (a box keeps its content view fitted).
    virtual void frameDidChange() {}
    // Reports a visible change to the peer.
    void changed(std::string_view property);

private:
    friend class Window;
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
