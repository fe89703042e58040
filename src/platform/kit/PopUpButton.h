#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/kit/Button.h"
#include "platform/kit/Menu.h"

namespace kz {

// A button that shows the selected item of its menu.
class KZ_EXPORT PopUpButton : public Button {
public:
    explicit PopUpButton(Rect frame = {}, bool pullsDown = false);
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    Menu& menu() const { return *_menu; }
    void setMenu(std::shared_ptr<Menu> menu);
    bool pullsDown() const { return _pullsDown; }

    // Adding a title that is there already moves it to the end, so titles stay unique.
    void addItemWithTitle(std::string title);
    void addItemsWithTitles(const std::vector<std::string>& titles);
    void insertItemWithTitle(std::string title, int index);
    void removeItemAtIndex(int index) { _menu->removeItemAtIndex(index); }
    void removeItemWithTitle(std::string_view title) { removeItemAtIndex(indexOfItemWithTitle(title)); }
    void removeAllItems() { _menu->removeAllItems(); }

    int numberOfItems() const { return _menu->numberOfItems(); }
    MenuItem* itemAtIndex(int index) const { return _menu->itemAtIndex(index); }
    MenuItem* itemWithTitle(std::string_view title) const { return _menu->itemWithTitle(title); }
    MenuItem* lastItem() const { return _menu->itemAtIndex(numberOfItems() - 1); }
    std::vector<std::string> itemTitles() const;
    int indexOfItemWithTitle(std::string_view title) const { return _menu->indexOfItemWithTitle(title); }
    int indexOfItemWithTag(long tag) const { return _menu->indexOfItemWithTag(tag); }
    int indexOfItemWithRepresentedObject(const Value& o) const { return _menu->indexOfItemWithRepresentedObject(o); }

    bool autoenablesItems() const { return _menu->autoenablesItems(); }
    void setAutoenablesItems(bool on) { _menu->setAutoenablesItems(on); }

    // Selection by program: an index out of range, an unknown title, tag or
    // object clears the selection; the answer tells whether an item was found.
    bool selectItemAtIndex(int index);
    bool selectItemWithTitle(std::string_view title) { return selectItemAtIndex(indexOfItemWithTitle(title)); }
    bool selectItemWithTag(long tag) { return selectItemAtIndex(indexOfItemWithTag(tag)); }
    bool selectItemWithRepresentedObject(const Value& o) { return selectItemAtIndex(indexOfItemWithRepresentedObject(o)); }
    void selectItem(const MenuItem* item) { selectItemAtIndex(item ? _menu->indexOfItem(*item) : -1); }

    MenuItem* selectedItem() const;
    int indexOfSelectedItem() const;
    std::string titleOfSelectedItem() const;

    // The user chooses an item: refused for a disabled control or an item the
    // menu does not enable; selects it, runs the item's action, then the
    // pop-up's own.
    bool chooseItemAtIndex(int index);

    Value objectValue() const override { return Value(indexOfSelectedItem()); }
    void setObjectValue(Value value) override { selectItemAtIndex(value.intValue()); }
    std::string stringValue() const override { return titleOfSelectedItem(); }
    void setStringValue(std::string value) override { selectItemWithTitle(value); }

private:
    void menuChanged(std::string_view property);
    std::shared_ptr<Menu> _menu;
    std::weak_ptr<MenuItem> _selected;
    bool _pullsDown = false;
};

}  // namespace kz
