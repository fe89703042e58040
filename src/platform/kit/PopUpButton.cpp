#include "platform/kit/PopUpButton.h"

#include "platform/kit/ViewClassOf.h"

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

namespace {

// An entry that is not a dictionary describes no item: it adds none, rather
// than an untitled one that shifts the rest.
void loadItems(PopUpButton& p, const Value& items, ViewLoading& l) {
    if (!items.isArray()) l.failHere("items must be a list");
    for (const Value& iv : items.array()) {
        if (!iv.isDictionary()) continue;
        const Dictionary& item = iv.dictionary();
        bool separator = false;
        if (ViewLoading::flag(item, "separator", separator) && separator) {
            p.menu().addItem(MenuItem::separatorItem());
            continue;
        }
        auto mi = std::make_shared<MenuItem>(item.get("title").stringValue());
        if (const Value* t = ViewLoading::get(item, "tag", PropertyType::Integer)) mi->setTag(static_cast<long>(t->integerValue()));
        if (const Value* r = item.find("representedObject")) mi->setRepresentedObject(*r);
        if (const Value* i = ViewLoading::get(item, "image", PropertyType::String)) mi->setImageName(i->string());
        bool on;
        if (ViewLoading::flag(item, "enabled", on)) mi->setEnabled(on);
        p.menu().addItem(mi);
    }
}

Value items(const PopUpButton& p) {
    Array out;
    for (int i = 0; i < p.numberOfItems(); ++i) {
        const MenuItem* item = p.itemAtIndex(i);
        if (item->isSeparatorItem()) {
            out.push_back(Value(Dictionary{{"separator", Value(true)}}));
            continue;
        }
        Dictionary entry{{"title", Value(item->title())}, {"enabled", Value(p.menu().isItemEnabled(*item))}};
        if (!item->imageName().empty()) entry.set("image", Value(item->imageName()));
        out.push_back(Value(std::move(entry)));
    }
    return Value(std::move(out));
}

}  // namespace

// A pop-up shows its selected item and items instead of a button's title
// and state.
const ViewClass& PopUpButton::described() {
    static const ViewClass c =
        ViewClassOf<PopUpButton>("PopUpButton", &Button::described())
            .property("items", PropertyType::Any, items, loadItems)
            .setter("autoenablesItems", PropertyType::Bool, [](PopUpButton& p, const Value& on) { p.setAutoenablesItems(on.boolValue()); })
            .setter("selectedIndex", PropertyType::Integer, [](PopUpButton& p, const Value& s) { p.selectItemAtIndex(s.intValue()); })
            .property("value", [](const PopUpButton& p) { return p.selectedItem() ? Value(p.titleOfSelectedItem()) : Value(); })
            .hides("title")
            .hides("state")
            .shows("selected", "value", DumpShape::Text)
            .shows("items", "items", DumpShape::Entries)
            .reports("items")
            .reports("value")
            .done();
    return c;
}

}  // namespace kz
