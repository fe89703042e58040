#include "platform/foundation/Decimal.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kz {

namespace {
constexpr int kQuotientScale = 38;
// Products with more places are rounded back to this many, which keeps
// repeated multiplication bounded.
constexpr int kMaxScale = 100;
constexpr std::size_t kMaxTextLength = 1000;
constexpr int kMaxExponent = 400;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
}  // namespace

Decimal Decimal::notANumber() {
    Decimal d;
    d._nan = true;
    return d;
}

Decimal::Int Decimal::pow10(int n) {
    Int r = 1;
    for (int i = 0; i < n; ++i) r *= 10;
    return r;
}

void Decimal::normalize() {
    if (_nan) return;
    while (_scale > 0 && _mantissa % 10 == 0) {
        _mantissa /= 10;
        --_scale;
    }
    if (_mantissa == 0) _scale = 0;
}

void Decimal::align(const Decimal& a, const Decimal& b, Int& ma, Int& mb, int& scale) {
    scale = std::max(a._scale, b._scale);
    ma = a._mantissa * pow10(scale - a._scale);
    mb = b._mantissa * pow10(scale - b._scale);
}

std::optional<Decimal> Decimal::parse(std::string_view text) {
    if (text.size() > kMaxTextLength) return std::nullopt;
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::string digits;
    int fractionDigits = 0;
    bool sawDigit = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, sawDigit = true) digits += text[i];
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, sawDigit = true) {
            digits += text[i];
            ++fractionDigits;
        }
    }
    if (!sawDigit) return std::nullopt;
    int exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
        const std::size_t start = i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > kMaxExponent) return std::nullopt;
        }
        if (i == start) return std::nullopt;
        if (expNegative) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;

    // cpp_int reads a leading 0 as octal.
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    Decimal d;
    d._mantissa = firstNonZero == std::string::npos ? Int(0) : Int(digits.substr(firstNonZero));
    if (negative) d._mantissa = -d._mantissa;
    const int scale = fractionDigits - exponent;
    if (scale >= 0) {
        d._scale = scale;
    } else {
        d._mantissa *= pow10(-scale);
    }
    d.normalize();
    return d;
}

Decimal Decimal::operator+(const Decimal& other) const {
    if (_nan || other._nan) return notANumber();
    Decimal r;
    Int a, b;
    align(*this, other, a, b, r._scale);
    r._mantissa = a + b;
    r.normalize();
    return r;
}

Decimal Decimal::operator-(const Decimal& other) const { return *this + (-other); }

Decimal Decimal::operator-() const {
    Decimal r = *this;
    r._mantissa = -r._mantissa;
    return r;
}

Decimal Decimal::operator*(const Decimal& other) const {
    if (_nan || other._nan) return notANumber();
    Decimal r;
    r._mantissa = _mantissa * other._mantissa;
    r._scale = _scale + other._scale;
    if (r._scale > kMaxScale) r = r.rounded(kMaxScale);
    r.normalize();
    return r;
}

Decimal Decimal::operator/(const Decimal& other) const {
    if (_nan || other._nan || other._mantissa == 0) return notANumber();
    // (ma / 10^sa) / (mb / 10^sb) with one extra digit, then rounded.
    const int scale = std::max(kQuotientScale, _scale - other._scale);
    const int shift = scale + 1 + other._scale - _scale;
    Decimal r;
    r._mantissa = (_mantissa * pow10(shift)) / other._mantissa;
    r._scale = scale + 1;
    r = r.rounded(scale);
    return r;
}


bool Decimal::operator==(const Decimal& other) const {
    if (_nan || other._nan) return false;
    return _mantissa == other._mantissa && _scale == other._scale;  // both normalised
}

bool Decimal::operator<(const Decimal& other) const {
    if (_nan || other._nan) return false;
    Int a, b;
    int scale;
    align(*this, other, a, b, scale);
    return a < b;
}

Decimal Decimal::rounded(int scale) const {
    if (_nan || scale >= _scale) return *this;
    const Int divisor = pow10(_scale - scale);
    Int q = _mantissa / divisor;  // truncates toward zero
    const Int rem = _mantissa % divisor;
    const Int twice = (rem < 0 ? Int(-rem) : rem) * 2;
    if (twice >= divisor) q += (_mantissa < 0 ? -1 : 1);
    Decimal r;
    if (scale >= 0) {
        r._mantissa = q;
        r._scale = scale;
    } else {
        r._mantissa = q * pow10(-scale);
    }
    r.normalize();
    return r;
}

std::string Decimal::toString() const {
    if (_nan) return "NaN";
    const bool negative = _mantissa < 0;
    std::string digits = (negative ? Int(-_mantissa) : _mantissa).str();
    if (_scale > 0) {
        if (digits.size() <= static_cast<std::size_t>(_scale))
            digits.insert(0, static_cast<std::size_t>(_scale) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(_scale), ".");
    }
    return negative ? "-" + digits : digits;
}

long long Decimal::toInteger() const {
    if (_nan) return 0;
    const Int whole = rounded(0)._mantissa;
    if (whole > std::numeric_limits<long long>::max()) return std::numeric_limits<long long>::max();
    if (whole < std::numeric_limits<long long>::min()) return std::numeric_limits<long long>::min();
    return static_cast<long long>(whole);
}

double Decimal::toDouble() const {
    if (_nan) return std::nan("");
    const std::string s = toString();
    double d = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), d);
    if (result.ec == std::errc::result_out_of_range)
        return _mantissa < 0 ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return d;
}

}  // namespace kz
