#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Escapes text for transport by an ordered list of rules (original text ->
// escaped text). At each position the first rule, in the order added, whose
// text occurs there wins; otherwise one character is copied. Unescaping is the
// same scan with the two texts of each rule exchanged. Texts are UTF-8 and the
// scan moves by whole characters.
class KZ_EXPORT StringEscapeConverter {
public:
    struct Rule {
        std::string original;
        std::string escaped;
    };

    static std::shared_ptr<StringEscapeConverter> emptyConverter();

    // Appends a rule. A rule with an empty text on either side is ignored: it
    // would match everywhere without consuming anything.
    void replace(std::string original, std::string escaped);
    std::string escape(std::string_view text) const;
    std::string unEscape(std::string_view text) const;

    // Appends the transport rule set of text fields: yen sign and backslash
    // both travel as two backslashes (two backslashes come back as a yen sign
    // where Japanese is preferred, as a backslash elsewhere), a double quote
    // as backslash + quote, line feed and line separator as backslash + "n".
    void addEscapeRules(bool japanesePreferred);

    const std::vector<Rule>& replacePattern() const { return _replacePattern; }

private:
    std::string convert(std::string_view text, bool escaping) const;

    std::vector<Rule> _replacePattern;
};

}  // namespace ComTORVALEKZ2R4_Plugin
