#pragma once

#include <string_view>

#include "Common/TextInput/ValidationFormatter.h"

namespace ComTORVALEKZ2R4_Plugin {

// Validation of a page-range field ("1-3,5", "7-", "-4"): blanks are removed,
// pieces are split at "," and line feeds, and each piece is "N", "N-", "-M"
// or "N-M" with 1 <= N <= M. Valid when no piece is in error and at least one
// lies within the printable pages; an empty text is valid.
class KZ_EXPORT PageRangeFormatter : public ValidationFormatter {
public:
    using ValidationFormatter::ValidationFormatter;

    static constexpr long long kLowestPage = 1;
    static constexpr long long kHighestPage = 2147483647;

    static bool isValidPageRanges(std::string_view text);
    bool isValid(const std::string& text) const override { return isValidPageRanges(text); }

    static std::shared_ptr<PageRangeFormatter> setValidationFormatter(kz::TextField& field, std::uint32_t maxBytes,
                                                                      std::shared_ptr<const CharacterSet> characterSet,
                                                                      std::optional<std::string> message) {
        return attachNewFormatter<PageRangeFormatter>(field, 0u, maxBytes, std::move(characterSet), std::move(message));
    }
};

}  // namespace ComTORVALEKZ2R4_Plugin
