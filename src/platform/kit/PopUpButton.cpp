#include "platform/kit/PopUpButton.h"

namespace kz {

PopUpButton::PopUpButton(Rect frame, bool pullsDown) : Button(frame), _pullsDown(pullsDown) {
    setMenu(std::make_shared<Menu>());
}

void PopUpButton::setMenu(std::shared_ptr<Menu> menu) {
    if (!menu) menu = std::make_shared<Menu>();
    if (_menu) _menu->setChangeHandler(nullptr);
    _menu = std::move(menu);
    _menu->setChangeHandler([this](std::string_view property) { menuChanged(property); });
    _selected.reset();
    menuChanged("items");
}

void PopUpButton::addItemWithTitle(std::string title) {
    removeItemWithTitle(title);
    _menu->addItemWithTitle(std::move(title));
}

void PopUpButton::addItemsWithTitles(const std::vector<std::string>& titles) {
    for (const auto& t : titles) addItemWithTitle(t);
}

void PopUpButton::insertItemWithTitle(std::string title, int index) {
    removeItemWithTitle(title);
    _menu->insertItem(std::make_shared<MenuItem>(std::move(title)), index);
}

std::vector<std::string> PopUpButton::itemTitles() const {
    std::vector<std::string> titles;
    for (const auto& item : _menu->itemArray()) titles.push_back(item->title());
    return titles;
}

bool PopUpButton::selectItemAtIndex(int index) {
    auto item = _menu->sharedItemAtIndex(index);
    if (item != _selected.lock()) {
        _selected = item;
        changed("selectedItem");
    }
    return item != nullptr;
}

MenuItem* PopUpButton::selectedItem() const {
    auto item = _selected.lock();
    return item && item->menu() == _menu.get() ? item.get() : nullptr;
}

int PopUpButton::indexOfSelectedItem() const {
    MenuItem* item = selectedItem();
    return item ? _menu->indexOfItem(*item) : -1;
}

std::string PopUpButton::titleOfSelectedItem() const {
    MenuItem* item = selectedItem();
    return item ? item->title() : std::string();
}

bool PopUpButton::chooseItemAtIndex(int index) {
    if (!isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
    auto item = _menu->sharedItemAtIndex(index);
    if (!item || !_menu->isItemEnabled(*item)) return false;
    auto keep = weak_from_this().lock();
    if (!_pullsDown) selectItemAtIndex(index);
    if (item->action().handler) item->action().handler(*this);
    sendAction();
    return true;
}

void PopUpButton::menuChanged(std::string_view property) {
    // A pop-up always shows something while it has items: the first one
    // when the selected item went away or nothing was selected yet.
    if (property == "items" && !selectedItem()) {
        _selected = _menu->sharedItemAtIndex(0);
        changed("selectedItem");
    }
    changed(property == "items" ? "menu" : property);
}

}  // namespace kz
