#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

class Value;

// An ordered dictionary from text keys to values: iteration follows insertion
// (or file) order, lookup by key is constant time. Rule dictionaries are walked
// in this order, which makes every run deterministic.
class KZ_EXPORT Dictionary {
public:
    using Entry = std::pair<std::string, Value>;
    using const_iterator = std::vector<Entry>::const_iterator;
    using iterator = std::vector<Entry>::iterator;

    Dictionary();
    Dictionary(std::initializer_list<Entry> entries);
    Dictionary(const Dictionary&);
    Dictionary(Dictionary&&) noexcept;
    Dictionary& operator=(const Dictionary&);
    Dictionary& operator=(Dictionary&&) noexcept;
    ~Dictionary();

    // Out of line: Value is still incomplete here, and clang instantiates
    // the vector's size() at once.
    std::size_t size() const;
    bool empty() const;
    bool contains(std::string_view key) const;

    // The value under the key, or nullptr.
    const Value* find(std::string_view key) const;
    Value* find(std::string_view key);
    // The value under the key, or a null value.
    const Value& get(std::string_view key) const;
    const Value& operator[](std::string_view key) const { return get(key); }

    // Sets the value; a new key goes to the end, an existing key keeps its place.
    void set(std::string_view key, Value value);
    // The value under the key, inserted as null at the end when missing.
    Value& at(std::string_view key);
    bool remove(std::string_view key);
    void clear();
    // Adds every entry of the other dictionary (setValuesForKeysWithDictionary).
    void merge(const Dictionary& other);

    std::vector<std::string> keys() const;

    const_iterator begin() const { return _entries.begin(); }
    const_iterator end() const { return _entries.end(); }
    iterator begin() { return _entries.begin(); }
    iterator end() { return _entries.end(); }

    // Equal when both hold the same keys with equal values, in any order
    // (as isEqualToDictionary: compares).
    bool operator==(const Dictionary& other) const;
    bool operator!=(const Dictionary& other) const { return !(*this == other); }

private:
    struct StringHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept;
    };
    std::vector<Entry> _entries;
    std::unordered_map<std::string, std::size_t, StringHash, std::equal_to<>> _index;
    void reindexFrom(std::size_t position);
};

}  // namespace kz
