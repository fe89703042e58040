#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"
#include "platform/kit/Action.h"

namespace kz {

class Menu;

class KZ_EXPORT MenuItem {
public:
    MenuItem() = default;
    explicit MenuItem(std::string title, Action action = {}) : _title(std::move(title)), _action(std::move(action)) {}
    static std::shared_ptr<MenuItem> separatorItem();

    const std::string& title() const { return _title; }
    void setTitle(std::string title);
    bool isSeparatorItem() const { return _separator; }

    const Value& representedObject() const { return _representedObject; }
    void setRepresentedObject(Value object) { _representedObject = std::move(object); }
    long tag() const { return _tag; }
    void setTag(long tag) { _tag = tag; }

    // The flag as set; whether the item can be chosen is the menu's answer
    // (Menu::isItemEnabled), which ignores it while the menu auto-enables.
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled);
    const std::string& imageName() const { return _imageName; }
    void setImageName(std::string name);
    int state() const { return _state; }
    void setState(int state);

    const Action& action() const { return _action; }
    void setAction(Action action) { _action = std::move(action); }

    Menu* menu() const { return _menu; }

private:
    friend class Menu;
    void changed(std::string_view property);
    std::string _title;
    bool _separator = false;
    Value _representedObject;
    long _tag = 0;
    bool _enabled = true;
    std::string _imageName;
    int _state = 0;
    Action _action;
    Menu* _menu = nullptr;
};

}  // namespace kz
