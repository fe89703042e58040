#include "platform/foundation/Dictionary.h"

#include <functional>

#include "platform/foundation/Value.h"

namespace kz {

namespace {
const Value kNull;
}

std::size_t Dictionary::StringHash::operator()(std::string_view s) const noexcept {
    return std::hash<std::string_view>{}(s);
}

std::size_t Dictionary::size() const { return _entries.size(); }
bool Dictionary::empty() const { return _entries.empty(); }

Dictionary::Dictionary() = default;
Dictionary::Dictionary(const Dictionary&) = default;
Dictionary::Dictionary(Dictionary&&) noexcept = default;
Dictionary& Dictionary::operator=(const Dictionary&) = default;
Dictionary& Dictionary::operator=(Dictionary&&) noexcept = default;
Dictionary::~Dictionary() = default;

Dictionary::Dictionary(std::initializer_list<Entry> entries) {
    for (const auto& [k, v] : entries) set(k, v);
}

bool Dictionary::contains(std::string_view key) const { return _index.find(key) != _index.end(); }

const Value* Dictionary::find(std::string_view key) const {
    auto it = _index.find(key);
    return it == _index.end() ? nullptr : &_entries[it->second].second;
}

Value* Dictionary::find(std::string_view key) {
    auto it = _index.find(key);
    return it == _index.end() ? nullptr : &_entries[it->second].second;
}

const Value& Dictionary::get(std::string_view key) const {
    const Value* v = find(key);
    return v ? *v : kNull;
}

void Dictionary::set(std::string_view key, Value value) {
    if (Value* v = find(key)) {
        *v = std::move(value);
        return;
    }
    _index.emplace(std::string(key), _entries.size());
    _entries.emplace_back(std::string(key), std::move(value));
}

Value& Dictionary::at(std::string_view key) {
    if (Value* v = find(key)) return *v;
    set(key, Value());
    return _entries.back().second;
}

bool Dictionary::remove(std::string_view key) {
    auto it = _index.find(key);
    if (it == _index.end()) return false;
    std::size_t position = it->second;
    _index.erase(it);
    _entries.erase(_entries.begin() + static_cast<std::ptrdiff_t>(position));
    reindexFrom(position);
    return true;
}

void Dictionary::clear() {
    _entries.clear();
    _index.clear();
}

void Dictionary::merge(const Dictionary& other) {
    for (const auto& [k, v] : other) set(k, v);
}

std::vector<std::string> Dictionary::keys() const {
    std::vector<std::string> out;
    out.reserve(_entries.size());
    for (const auto& e : _entries) out.push_back(e.first);
    return out;
}

bool Dictionary::operator==(const Dictionary& other) const {
    if (size() != other.size()) return false;
    for (const auto& [k, v] : _entries) {
        const Value* o = other.find(k);
        if (!o || *o != v) return false;
    }
    return true;
}

void Dictionary::reindexFrom(std::size_t position) {
    for (std::size_t i = position; i < _entries.size(); ++i) _index[_entries[i].first] = i;
}

}  // namespace kz
