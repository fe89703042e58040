#include "platform/kit/MenuItem.h"

#include "platform/kit/Menu.h"

namespace kz {

std::shared_ptr<MenuItem> MenuItem::separatorItem() {
    auto item = std::make_shared<MenuItem>();
    item->_separator = true;
    item->_enabled = false;
    return item;
}

void MenuItem::setTitle(std::string title) {
    if (title == _title) return;
    _title = std::move(title);
    changed("title");
}

void MenuItem::setEnabled(bool enabled) {
    if (enabled == _enabled) return;
    _enabled = enabled;
    changed("enabled");
}

void MenuItem::setImageName(std::string name) {
    if (name == _imageName) return;
    _imageName = std::move(name);
    changed("image");
}

void MenuItem::setState(int state) {
    if (state == _state) return;
    _state = state;
    changed("state");
}

void MenuItem::changed(std::string_view property) {
    if (_menu) _menu->changed(property);
}

}  // namespace kz
