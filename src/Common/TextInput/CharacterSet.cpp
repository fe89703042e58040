#include "Common/TextInput/CharacterSet.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Calls `visit(c)` for each character; an invalid byte gives c < 0.
template <typename Visit>
bool anyCharacter(std::string_view utf8, Visit visit) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (visit(c)) return true;
    }
    return false;
}

}  // namespace

std::shared_ptr<const CharacterSet> CharacterSet::characterSetWithCharactersInString(std::string_view utf8) {
    auto set = std::make_shared<CharacterSet>();
    set->addCharactersInString(utf8);
    return set;
}

std::shared_ptr<const CharacterSet> CharacterSet::characterSetWithRange(char32_t first, char32_t last) {
    auto set = std::make_shared<CharacterSet>();
    set->addRange(first, last);
    return set;
}

const CharacterSet& CharacterSet::controlCharacterSet() {
    static const CharacterSet set = [] {
        CharacterSet s;
        s._control = true;
        return s;
    }();
    return set;
}

void CharacterSet::addCharactersInString(std::string_view utf8) {
    anyCharacter(utf8, [this](UChar32 c) {
        if (c >= 0) addRange(static_cast<char32_t>(c), static_cast<char32_t>(c));
        return false;
    });
}

void CharacterSet::addRange(char32_t first, char32_t last) {
    if (first <= last) _ranges.emplace_back(first, last);
}

bool CharacterSet::characterIsMember(char32_t c) const {
    if (_control) {
        int8_t type = u_charType(static_cast<UChar32>(c));
        if (type == U_CONTROL_CHAR || type == U_FORMAT_CHAR) return true;
    }
    return std::any_of(_ranges.begin(), _ranges.end(), [c](const auto& r) { return r.first <= c && c <= r.second; });
}

bool CharacterSet::containsMemberOf(std::string_view utf8) const {
    return anyCharacter(utf8, [this](UChar32 c) { return c >= 0 && characterIsMember(static_cast<char32_t>(c)); });
}

bool CharacterSet::containsNonMemberOf(std::string_view utf8) const {
    return anyCharacter(utf8, [this](UChar32 c) { return c < 0 || !characterIsMember(static_cast<char32_t>(c)); });
}

}  // namespace ComTORVALEKZ2R4_Plugin
