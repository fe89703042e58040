#pragma once

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// A set of Unicode characters that a text field allows, built from the
// characters of a text and from ranges, and the platform's set of control
// characters (general categories Cc and Cf).
class KZ_EXPORT CharacterSet {
public:
    static std::shared_ptr<const CharacterSet> characterSetWithCharactersInString(std::string_view utf8);
    static std::shared_ptr<const CharacterSet> characterSetWithRange(char32_t first, char32_t last);
    static const CharacterSet& controlCharacterSet();

    CharacterSet() = default;
    void addCharactersInString(std::string_view utf8);
    void addRange(char32_t first, char32_t last);

    bool characterIsMember(char32_t c) const;
    // Whether some character of the text is (not) a member; bytes that are
    // not UTF-8 count as characters outside every set.
    bool containsMemberOf(std::string_view utf8) const;
    bool containsNonMemberOf(std::string_view utf8) const;

private:
    bool _control = false;                                // the control set, by category
    std::vector<std::pair<char32_t, char32_t>> _ranges;  // inclusive, unsorted
};

}  // namespace ComTORVALEKZ2R4_Plugin
