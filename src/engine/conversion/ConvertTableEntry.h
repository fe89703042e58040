#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Decimal.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/NumberFormat.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// How one main keyword of the print option maps onto one tag of the input
// manager: a list of items, a boolean, a magnification and/or a number
// format, tried in that order; an entry with none of them passes values
// through. Built only by the reader of ConvertTable, which checks every field.
class KZ_EXPORT ConvertTableEntry {
public:
    struct Item {
        std::string optionKeyword;
        kz::Value tagValue;  // as stored: a number or a number text
        // "Bin%d": everything before the trailing "%d", taken literally.
        bool isRange = false;
        std::string prefix;
    };

    const std::optional<std::string>& tagKey() const { return _tagKey; }

    // Tag value -> option keyword; nullopt (and a log line) when it cannot be
    // mapped. Yen signs in a resulting text become backslashes.
    std::optional<kz::Value> optionKeywordForTagValue(const kz::Value& tagValue) const;
    // Option value -> tag value; nullopt (and a log line) when it cannot be
    // mapped.
    std::optional<kz::Value> tagValueForOptionKeyword(const kz::Value& optionValue) const;

private:
    friend class ConvertTableEntryReader;

    std::optional<std::string> _tagKey;
    bool _hasItems = false;
    std::vector<Item> _items;
    bool _isBoolean = false;
    std::optional<kz::Decimal> _magnification;
    std::optional<kz::NumberFormat> _format;

    std::optional<kz::Value> _optionKeywordForTagValue(const kz::Value& tagValue) const;
    std::optional<kz::Value> _tagValueForOptionKeyword(const kz::Value& optionValue) const;
    std::string printed(const kz::Decimal& value) const;
};

}  // namespace ComTORVALEKZ2R4_Plugin
