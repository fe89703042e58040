#pragma once

#include <compare>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/foundation/Dictionary.h"

namespace kz {

class Value;

using Array = std::vector<Value>;
using Data = std::vector<std::uint8_t>;

// A point in time as seconds since 2001-01-01 00:00:00 UTC, the reference date
// of property lists; Unix time is 978307200 seconds later.
struct Date {
    double secondsSinceReferenceDate = 0;
    static constexpr double kUnixOffset = 978307200.0;
    static Date fromUnix(double seconds) { return Date{seconds - kUnixOffset}; }
    double unixTime() const { return secondsSinceReferenceDate + kUnixOffset; }
    auto operator<=>(const Date&) const = default;
};

// The one dynamic type: what a property list, a print option or a user-info
// dictionary holds. Values are copied by value; containers own their elements.
class KZ_EXPORT Value {
public:
    enum class Type { Null, Boolean, Integer, Real, String, Data, Date, Array, Dictionary };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool b) : _v(b) {}
    Value(int i) : _v(static_cast<std::int64_t>(i)) {}
    Value(long i) : _v(static_cast<std::int64_t>(i)) {}
    Value(long long i) : _v(static_cast<std::int64_t>(i)) {}
    Value(unsigned i) : _v(static_cast<std::int64_t>(i)) {}
    // Unsigned 64-bit integers (property lists hold them): values in the
    // signed range are ordinary integers, larger ones are kept exact.
    Value(unsigned long i);
    Value(unsigned long long i);
    Value(double d) : _v(d) {}
    Value(const char* s);
    Value(std::string s) : _v(std::move(s)) {}
    Value(std::string_view s) : _v(std::string(s)) {}
    Value(kz::Data d) : _v(std::move(d)) {}
    Value(kz::Date d) : _v(d) {}
    Value(kz::Array a);
    Value(kz::Dictionary d);

    Type type() const;
    const char* typeName() const;
    bool isNull() const { return type() == Type::Null; }
    bool isBoolean() const { return type() == Type::Boolean; }
    bool isInteger() const { return type() == Type::Integer; }
    // An integer above 2^63 - 1, kept as unsigned 64-bit.
    bool isUnsigned() const;
    bool isReal() const { return type() == Type::Real; }
    bool isNumber() const { return isInteger() || isReal() || isBoolean(); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }

    // Typed access. A value of another type answers an empty/neutral object
    // (a static empty string, array or dictionary), never throws.
    const std::string& string() const;
    const kz::Data& data() const;
    kz::Date date() const;
    const kz::Array& array() const;
    const kz::Dictionary& dictionary() const;
    // Mutable access converts a value of another type into an empty container.
    kz::Array& mutableArray();
    kz::Dictionary& mutableDictionary();

    // Foundation's conversions, as NSString and NSNumber answer them:
    // - a text's intValue/integerValue skips leading white space, takes an
    //   optional sign and the digits up to the first other character; 0 when
    //   there are none; clamped to the type's range on overflow.
    // - a text's doubleValue reads a leading decimal number (strtod in the C
    //   locale, no hex or inf/nan), 0 when there is none.
    // - a text's boolValue: true when the first character after white space
    //   and an optional sign (+ - or leading zeros) is one of Y y T t 1-9.
    // - numbers convert as C does (reals truncate toward zero, clamped);
    //   a boolean is 1 or 0; other types answer 0 / false. An unsigned
    //   integer above the signed range clamps to the largest signed value.
    int intValue() const;
    std::int64_t integerValue() const;
    // Exact for unsigned integers; anything else is integerValue() in two's
    // complement, as C converts it.
    std::uint64_t unsignedIntegerValue() const;
    double doubleValue() const;
    bool boolValue() const;

    // The text a value shows: a string as it is, a boolean as "True"/"False"
    // (how print options exchange booleans), numbers in their shortest
    // decimal form, anything else as its description.
    std::string stringValue() const;
    // A readable rendering of any value (for logs), in the old property-list
    // text style.
    std::string description() const;

    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

private:
    // The alternatives in the order of Type; the unsigned one, last, is an
    // Integer too.
    std::variant<std::monostate, bool, std::int64_t, double, std::string, kz::Data, kz::Date,
                 kz::Array, kz::Dictionary, std::uint64_t>
        _v;
};

// Free helpers on texts with Foundation's semantics.
KZ_EXPORT int intValueOfText(std::string_view text);
KZ_EXPORT std::int64_t integerValueOfText(std::string_view text);
KZ_EXPORT double doubleValueOfText(std::string_view text);
KZ_EXPORT bool boolValueOfText(std::string_view text);
// "True" / "False".
KZ_EXPORT const char* boolText(bool b);

}  // namespace kz

