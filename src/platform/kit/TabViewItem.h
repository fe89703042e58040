#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace kz {

class TabView;
class View;

// One tab: an identifier, the label on the tab and the view it shows.
class KZ_EXPORT TabViewItem {
public:
    explicit TabViewItem(Value identifier = {}) : _identifier(std::move(identifier)) {}

    const Value& identifier() const { return _identifier; }
    void setIdentifier(Value identifier) { _identifier = std::move(identifier); }
    const std::string& label() const { return _label; }
    void setLabel(std::string label);
    View* view() const { return _view.get(); }
    std::shared_ptr<View> sharedView() const { return _view; }
    void setView(std::shared_ptr<View> view);

    TabView* tabView() const { return _tabView; }

private:
    friend class TabView;
    Value _identifier;
    std::string _label;
    std::shared_ptr<View> _view;
    TabView* _tabView = nullptr;
};

}  // namespace kz
