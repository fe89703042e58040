#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <libxml/tree.h>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

struct PrintService_PropKeyValue;
struct PrintService_PropDict;
struct PrintService_PropArray;

// One element of a container: a text, a typed scalar, or a nested container.
using PropItem = std::variant<std::string, double, bool, kz::Date, kz::Data, std::shared_ptr<PrintService_PropKeyValue>,
                              std::shared_ptr<PrintService_PropDict>, std::shared_ptr<PrintService_PropArray>>;

// The generic property containers the server describes its lists with. They
// nest, so the three live together.
struct KZ_EXPORT PrintService_PropKeyValue {
    std::optional<std::string> key;
    // The text of `val`, or the structure when `val` is typed as a container.
    std::optional<PropItem> val;
    static std::shared_ptr<PrintService_PropKeyValue> deserializeNode(xmlNodePtr node);
};

struct KZ_EXPORT PrintService_PropDict {
    std::optional<long long> d;  // read and kept, never interpreted
    std::vector<PropItem> item;  // PropKeyValue unless typed otherwise
    void addItem(PropItem value) { item.push_back(std::move(value)); }
    static std::shared_ptr<PrintService_PropDict> deserializeNode(xmlNodePtr node);
};

struct KZ_EXPORT PrintService_PropArray {
    std::optional<long long> d;
    std::vector<PropItem> item;  // texts unless typed otherwise
    void addItem(PropItem value) { item.push_back(std::move(value)); }
    static std::shared_ptr<PrintService_PropArray> deserializeNode(xmlNodePtr node);
};

// Reads an element as the class its xsi:type names, or as `defaultClass`
// without one; a type naming no known class gives nullopt.
KZ_EXPORT std::optional<PropItem> deserializeTyped(xmlNodePtr node, const char* defaultClass);

// The text of an item when it is one, else nullptr.
inline const std::string* itemString(const PropItem& item) { return std::get_if<std::string>(&item); }

// A readable form of a container tree: key/value pairs become one-entry
// dictionaries, dictionaries and arrays become arrays of their items.
KZ_EXPORT kz::Value propItemValue(const PropItem& item);

}  // namespace ComTORVALEKZ2R4_Plugin
