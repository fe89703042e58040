#include "platform/kit/Menu.h"

#include <algorithm>

namespace kz {

Menu::~Menu() {
    for (auto& item : _items) item->_menu = nullptr;
}

MenuItem* Menu::itemAtIndex(int index) const { return sharedItemAtIndex(index).get(); }

std::shared_ptr<MenuItem> Menu::sharedItemAtIndex(int index) const {
    if (index < 0 || index >= numberOfItems()) return nullptr;
    return _items[static_cast<std::size_t>(index)];
}

MenuItem* Menu::itemWithTitle(std::string_view title) const { return itemAtIndex(indexOfItemWithTitle(title)); }

void Menu::addItem(std::shared_ptr<MenuItem> item) { insertItem(std::move(item), numberOfItems()); }

MenuItem& Menu::addItemWithTitle(std::string title, Action action) {
    auto item = std::make_shared<MenuItem>(std::move(title), std::move(action));
    addItem(item);
    return *item;
}

void Menu::insertItem(std::shared_ptr<MenuItem> item, int index) {
    if (!item) return;
    // An item lives in one menu at a time.
    if (item->_menu) item->_menu->removeItem(*item);
    index = std::clamp(index, 0, numberOfItems());
    item->_menu = this;
    _items.insert(_items.begin() + index, std::move(item));
    changed("items");
}

void Menu::removeItemAtIndex(int index) {
    if (index < 0 || index >= numberOfItems()) return;
    auto item = _items[static_cast<std::size_t>(index)];
    _items.erase(_items.begin() + index);
    item->_menu = nullptr;
    changed("items");
}

void Menu::removeItem(const MenuItem& item) { removeItemAtIndex(indexOfItem(item)); }

void Menu::removeAllItems() {
    if (_items.empty()) return;
    for (auto& item : _items) item->_menu = nullptr;
    _items.clear();
    changed("items");
}

namespace {
template <typename Pred>
int findIndex(const std::vector<std::shared_ptr<MenuItem>>& items, Pred pred) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (pred(*items[i])) return static_cast<int>(i);
    return -1;
}
}  // namespace

int Menu::indexOfItem(const MenuItem& item) const {
    return findIndex(_items, [&](const MenuItem& m) { return &m == &item; });
}
int Menu::indexOfItemWithTitle(std::string_view title) const {
    return findIndex(_items, [&](const MenuItem& m) { return !m.isSeparatorItem() && m.title() == title; });
}
int Menu::indexOfItemWithTag(long tag) const {
    return findIndex(_items, [&](const MenuItem& m) { return m.tag() == tag; });
}
int Menu::indexOfItemWithRepresentedObject(const Value& object) const {
    return findIndex(_items, [&](const MenuItem& m) { return m.representedObject() == object; });
}

void Menu::setAutoenablesItems(bool on) {
    if (on == _autoenables) return;
    _autoenables = on;
    changed("autoenablesItems");
}

bool Menu::isItemEnabled(const MenuItem& item) const {
    if (item.isSeparatorItem()) return false;
    return _autoenables || item.isEnabled();
}

void Menu::changed(std::string_view property) {
    if (_onChange) _onChange(property);
}

}  // namespace kz
