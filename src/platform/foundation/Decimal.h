#pragma once

#include <boost/multiprecision/cpp_int.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace kz {

// An exact decimal number: an integer mantissa and a count of decimal places.
// Sums and differences are exact, products up to 100 decimal places; a
// quotient keeps 38 places (both rounded half away from zero). Dividing by zero, or parsing a text
// that is no number, gives "not a number", which every later operation keeps
// and which compares unequal to everything.
class KZ_EXPORT Decimal {
public:
    Decimal() = default;
    Decimal(long long value) : _mantissa(value) {}
    static Decimal notANumber();

    // Optional sign, digits with an optional '.' fraction, an optional
    // exponent ("e-3"); surrounding white space is ignored. No result for
    // anything else, or for texts longer than 1000 characters or exponents
    // beyond +-400.
    static std::optional<Decimal> parse(std::string_view text);

    bool isNaN() const { return _nan; }

    Decimal operator+(const Decimal& other) const;
    Decimal operator-(const Decimal& other) const;
    Decimal operator*(const Decimal& other) const;
    Decimal operator/(const Decimal& other) const;
    Decimal operator-() const;

    bool operator==(const Decimal& other) const;
    bool operator!=(const Decimal& other) const { return !(*this == other); }
    bool operator<(const Decimal& other) const;
    bool operator>(const Decimal& other) const { return other < *this; }
    bool operator<=(const Decimal& other) const { return *this < other || *this == other; }
    bool operator>=(const Decimal& other) const { return other <= *this; }

    // Rounded to `scale` decimal places (negative: to tens, hundreds, ...),
    // halves away from zero: 2.5 -> 3, -2.5 -> -3.
    Decimal rounded(int scale) const;

    // Plain notation without exponent or trailing zeros ("12.5", "-0.001",
    // "NaN").
    std::string toString() const;
    // Rounded to 0 places, clamped to the range of long long; 0 for NaN.
    long long toInteger() const;
    double toDouble() const;

private:
    using Int = boost::multiprecision::cpp_int;
    Int _mantissa = 0;
    int _scale = 0;  // the value is _mantissa / 10^_scale; never negative
    bool _nan = false;

    void normalize();
    static Int pow10(int n);
    static void align(const Decimal& a, const Decimal& b, Int& ma, Int& mb, int& scale);
};

}  // namespace kz
