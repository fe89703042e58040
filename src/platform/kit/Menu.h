#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kit/MenuItem.h"

namespace kz {

// An ordered list of items; a pop-up button shows one.
class KZ_EXPORT Menu {
public:
    explicit Menu(std::string title = {}) : _title(std::move(title)) {}
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::string& title() const { return _title; }

    const std::vector<std::shared_ptr<MenuItem>>& itemArray() const { return _items; }
    int numberOfItems() const { return static_cast<int>(_items.size()); }
    // Null for an index out of range.
    MenuItem* itemAtIndex(int index) const;
    std::shared_ptr<MenuItem> sharedItemAtIndex(int index) const;
    MenuItem* itemWithTitle(std::string_view title) const;

    void addItem(std::shared_ptr<MenuItem> item);
    MenuItem& addItemWithTitle(std::string title, Action action = {});
    // Clamps the index into the list.
    void insertItem(std::shared_ptr<MenuItem> item, int index);
    void removeItemAtIndex(int index);
    void removeItem(const MenuItem& item);
    void removeAllItems();

    // -1 when there is none.
    int indexOfItem(const MenuItem& item) const;
    int indexOfItemWithTitle(std::string_view title) const;
    int indexOfItemWithTag(long tag) const;
    int indexOfItemWithRepresentedObject(const Value& object) const;

    // While on (the default), items are enabled whatever their flag says;
    // the panel turns it off to disable items itself.
    bool autoenablesItems() const { return _autoenables; }
    void setAutoenablesItems(bool on);
    // Whether the user can choose the item: never a separator.
    bool isItemEnabled(const MenuItem& item) const;

    // Told of every change of the menu or an item (the pop-up that shows it).
    void setChangeHandler(std::function<void(std::string_view)> handler) { _onChange = std::move(handler); }

private:
    friend class MenuItem;
    void changed(std::string_view property);
    std::string _title;
    std::vector<std::shared_ptr<MenuItem>> _items;
    bool _autoenables = true;
    std::function<void(std::string_view)> _onChange;
};

}  // namespace kz
