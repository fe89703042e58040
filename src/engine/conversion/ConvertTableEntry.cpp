#include "engine/conversion/ConvertTableEntry.h"

#include <cctype>

#include "platform/foundation/Log.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Quotients without a pattern of their own are printed to this many places.
constexpr int kPlainPlaces = 6;

// A tag value as the log and the decimal reader see it: booleans are the
// numbers 1 and 0 there.
std::string plainText(const kz::Value& value) {
    if (value.isBoolean()) return value.boolValue() ? "1" : "0";
    return value.stringValue();
}

std::optional<kz::Decimal> decimalOf(const kz::Value& value) {
    if (!value.isString() && !value.isNumber()) return std::nullopt;
    std::optional<kz::Decimal> d = kz::Decimal::parse(plainText(value));
    if (d && d->isNaN()) return std::nullopt;
    return d;
}

std::string withBackslashForYen(std::string text) {
    static constexpr std::string_view kYen = "\xC2\xA5";  // U+00A5 in UTF-8
    for (std::size_t at = text.find(kYen); at != std::string::npos; at = text.find(kYen, at + 1))
        text.replace(at, kYen.size(), "\\");
    return text;
}

bool isTrueText(std::string_view text) {
    static constexpr std::string_view kTrue = "true";
    if (text.size() != kTrue.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kTrue[i]) return false;
    return true;
}

}  // namespace

std::string ConvertTableEntry::printed(const kz::Decimal& value) const {
    if (_format) return _format->format(value);
    return value.rounded(kPlainPlaces).toString();
}

std::optional<kz::Value> ConvertTableEntry::optionKeywordForTagValue(const kz::Value& tagValue) const {
    std::optional<kz::Value> result = _optionKeywordForTagValue(tagValue);
    if (result && result->isString()) result = kz::Value(withBackslashForYen(result->string()));
    if (!result)
        kz::Log::line(kz::strprintf("### ## \"%s\" can't convert to optionKeyword for \"%s\"", plainText(tagValue).c_str(),
                                    _tagKey.value_or("(null)").c_str()));
    return result;
}

std::optional<kz::Value> ConvertTableEntry::_optionKeywordForTagValue(const kz::Value& tagValue) const {
    if (_hasItems) {
        const std::int64_t number = tagValue.integerValue();
        for (const Item& item : _items) {
            if (item.isRange) {
                // The prefix is literal text: the keyword is never handed to a
                // printf, so a '%' in a table cannot read stray arguments.
                std::int64_t offset = 0;
                if (__builtin_sub_overflow(number, item.tagValue.integerValue(), &offset)) return std::nullopt;
                return kz::Value(item.prefix + std::to_string(offset));
            }
            if (number == item.tagValue.integerValue()) return kz::Value(item.optionKeyword);
        }
        return std::nullopt;
    }
    if (_isBoolean) return kz::Value(tagValue.integerValue() == 1);
    if (_magnification || _format) {
        std::optional<kz::Decimal> d = decimalOf(tagValue);
        if (!d) return std::nullopt;
        if (_magnification) *d = *d / *_magnification;
        std::string text = printed(*d);
        if (text.empty()) return std::nullopt;
        return kz::Value(text);
    }
    return tagValue;
}

std::optional<kz::Value> ConvertTableEntry::tagValueForOptionKeyword(const kz::Value& optionValue) const {
    std::optional<kz::Value> result = _tagValueForOptionKeyword(optionValue);
    if (!result)
        kz::Log::line(kz::strprintf("### ## \"\" can't convert to tagValue for \"%s\"", _tagKey.value_or("(null)").c_str()));
    return result;
}

std::optional<kz::Value> ConvertTableEntry::_tagValueForOptionKeyword(const kz::Value& optionValue) const {
    if (_hasItems) {
        const std::string text = optionValue.stringValue();  // a boolean is "True" or "False"
        for (const Item& item : _items) {
            if (item.isRange) {
                if (!item.prefix.empty() && text.compare(0, item.prefix.size(), item.prefix) != 0) continue;
                std::size_t digit = 0;
                while (digit < text.size() && !std::isdigit(static_cast<unsigned char>(text[digit]))) ++digit;
                if (digit == text.size()) return std::nullopt;
                std::int64_t sum = 0;
                if (__builtin_add_overflow(kz::integerValueOfText(std::string_view(text).substr(digit)),
                                           item.tagValue.integerValue(), &sum))
                    return std::nullopt;
                return kz::Value(static_cast<long long>(sum));
            }
            if (text == item.optionKeyword) return item.tagValue;
        }
        return std::nullopt;
    }
    if (!optionValue.isString() || _isBoolean) {
        if (optionValue.isString()) return kz::Value(isTrueText(optionValue.string()));
        return kz::Value(optionValue.boolValue());
    }
    if (_magnification) {
        std::optional<kz::Decimal> d = decimalOf(optionValue);
        if (!d) return std::nullopt;
        return kz::Value((*d * *_magnification).toString());
    }
    return optionValue;
}

}  // namespace ComTORVALEKZ2R4_Plugin
