#include "platform/foundation/Value.h"

#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace kz {

namespace {

const std::string kEmptyString;
const Data kEmptyData;
const Array kEmptyArray;
const Dictionary kEmptyDictionary;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::size_t skipSpace(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && isSpace(t[i])) ++i;
    return i;
}

template <typename Int>
Int clampedInteger(std::string_view t) {
    std::size_t i = skipSpace(t);
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    // Accumulate as a negative number so that the minimum fits exactly.
    Int v = 0;
    bool overflow = false;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        int digit = t[i] - '0';
        if (!overflow) {
            if (v < (std::numeric_limits<Int>::min() + digit) / 10) {
                overflow = true;
            } else {
                v = v * 10 - digit;
            }
        }
    }
    if (overflow) return negative ? std::numeric_limits<Int>::min() : std::numeric_limits<Int>::max();
    if (negative) return v;
    return v == std::numeric_limits<Int>::min() ? std::numeric_limits<Int>::max() : -v;
}

template <typename Int>
Int clampReal(double d) {
    if (std::isnan(d)) return 0;
    if (d >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (d <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return static_cast<Int>(d);
}

std::string shortestReal(double d) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

std::string quoted(const std::string& s) {
    bool plain = !s.empty();
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$' || c == '/' ||
              c == ':' || c == '-' || (c & 0x80)))
            plain = false;
    if (plain) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

template <typename Unsigned>
void setUnsigned(Unsigned u, auto& v) {
    if (u <= static_cast<Unsigned>(std::numeric_limits<std::int64_t>::max()))
        v = static_cast<std::int64_t>(u);
    else
        v = static_cast<std::uint64_t>(u);
}

}  // namespace

Value::Value(unsigned long i) { setUnsigned(i, _v); }
Value::Value(unsigned long long i) { setUnsigned(i, _v); }

Value::Value(const char* s) {
    if (s) _v = std::string(s);
}
Value::Value(Array a) : _v(std::move(a)) {}
Value::Value(Dictionary d) : _v(std::move(d)) {}

Value::Type Value::type() const {
    return std::holds_alternative<std::uint64_t>(_v) ? Type::Integer : static_cast<Type>(_v.index());
}

bool Value::isUnsigned() const { return std::holds_alternative<std::uint64_t>(_v); }

const char* Value::typeName() const {
    static const char* names[] = {"null", "boolean", "integer", "real", "string",
                                  "data", "date",    "array",   "dictionary"};
    return names[static_cast<int>(type())];
}

const std::string& Value::string() const {
    auto p = std::get_if<std::string>(&_v);
    return p ? *p : kEmptyString;
}
const Data& Value::data() const {
    auto p = std::get_if<Data>(&_v);
    return p ? *p : kEmptyData;
}
Date Value::date() const {
    auto p = std::get_if<Date>(&_v);
    return p ? *p : Date{};
}
const Array& Value::array() const {
    auto p = std::get_if<Array>(&_v);
    return p ? *p : kEmptyArray;
}
const Dictionary& Value::dictionary() const {
    auto p = std::get_if<Dictionary>(&_v);
    return p ? *p : kEmptyDictionary;
}
Array& Value::mutableArray() {
    if (!isArray()) _v = Array{};
    return std::get<Array>(_v);
}
Dictionary& Value::mutableDictionary() {
    if (!isDictionary()) _v = Dictionary{};
    return std::get<Dictionary>(_v);
}

std::int64_t Value::integerValue() const {
    if (isUnsigned()) return std::numeric_limits<std::int64_t>::max();
    switch (type()) {
        case Type::Boolean: return std::get<bool>(_v) ? 1 : 0;
        case Type::Integer: return std::get<std::int64_t>(_v);
        case Type::Real: return clampReal<std::int64_t>(std::get<double>(_v));
        case Type::String: return integerValueOfText(std::get<std::string>(_v));
        default: return 0;
    }
}

std::uint64_t Value::unsignedIntegerValue() const {
    if (auto u = std::get_if<std::uint64_t>(&_v)) return *u;
    return static_cast<std::uint64_t>(integerValue());
}

int Value::intValue() const {
    switch (type()) {
        case Type::String: return intValueOfText(std::get<std::string>(_v));
        case Type::Real: return clampReal<int>(std::get<double>(_v));
        default: {
            std::int64_t v = integerValue();
            if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
            if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
            return static_cast<int>(v);
        }
    }
}

double Value::doubleValue() const {
    switch (type()) {
        case Type::Boolean: return std::get<bool>(_v) ? 1 : 0;
        case Type::Integer:
            if (isUnsigned()) return static_cast<double>(std::get<std::uint64_t>(_v));
            return static_cast<double>(std::get<std::int64_t>(_v));
        case Type::Real: return std::get<double>(_v);
        case Type::String: return doubleValueOfText(std::get<std::string>(_v));
        default: return 0;
    }
}

bool Value::boolValue() const {
    switch (type()) {
        case Type::Boolean: return std::get<bool>(_v);
        case Type::Integer: return unsignedIntegerValue() != 0;
        case Type::Real: return std::get<double>(_v) != 0;
        case Type::String: return boolValueOfText(std::get<std::string>(_v));
        default: return false;
    }
}

std::string Value::stringValue() const {
    switch (type()) {
        case Type::Null: return {};
        case Type::Boolean: return boolText(std::get<bool>(_v));
        case Type::Integer:
            if (isUnsigned()) return std::to_string(std::get<std::uint64_t>(_v));
            return std::to_string(std::get<std::int64_t>(_v));
        case Type::Real: return shortestReal(std::get<double>(_v));
        case Type::String: return std::get<std::string>(_v);
        default: return description();
    }
}

std::string Value::description() const {
    std::ostringstream out;
    switch (type()) {
        case Type::Null: return "(null)";
        case Type::String: return quoted(std::get<std::string>(_v));
        case Type::Data: {
            static const char* hex = "0123456789abcdef";
            out << '<';
            const Data& d = std::get<Data>(_v);
            for (std::size_t i = 0; i < d.size(); ++i) {
                if (i && i % 4 == 0) out << ' ';
                out << hex[d[i] >> 4] << hex[d[i] & 15];
            }
            out << '>';
            return out.str();
        }
        case Type::Date: return shortestReal(std::get<Date>(_v).secondsSinceReferenceDate);
        case Type::Array: {
            out << '(';
            const Array& a = std::get<Array>(_v);
            for (std::size_t i = 0; i < a.size(); ++i) out << (i ? ", " : "") << a[i].description();
            out << ')';
            return out.str();
        }
        case Type::Dictionary: {
            out << '{';
            for (const auto& [k, v] : std::get<Dictionary>(_v)) out << quoted(k) << " = " << v.description() << "; ";
            out << '}';
            return out.str();
        }
        default: return stringValue();
    }
}

bool Value::operator==(const Value& other) const {
    // Numbers compare by value across integer, real and boolean, as NSNumber does.
    if (isNumber() && other.isNumber()) {
        if (isReal() || other.isReal()) return doubleValue() == other.doubleValue();
        // Unsigned integers lie above every signed one.
        if (isUnsigned() != other.isUnsigned()) return false;
        return unsignedIntegerValue() == other.unsignedIntegerValue();
    }
    return _v == other._v;
}

int intValueOfText(std::string_view text) { return clampedInteger<int>(text); }
std::int64_t integerValueOfText(std::string_view text) { return clampedInteger<std::int64_t>(text); }

double doubleValueOfText(std::string_view text) {
    std::size_t i = skipSpace(text);
    std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
    }
    if (!digits) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && std::isdigit(static_cast<unsigned char>(text[e]))) {
            while (e < text.size() && std::isdigit(static_cast<unsigned char>(text[e]))) ++e;
            i = e;
        }
    }
    std::string_view number = text.substr(start, i - start);
    if (!number.empty() && number[0] == '+') number.remove_prefix(1);
    double d = 0;
    std::from_chars(number.data(), number.data() + number.size(), d);
    return d;
}

bool boolValueOfText(std::string_view text) {
    std::size_t i = skipSpace(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && text[i] == '0') ++i;
    if (i >= text.size()) return false;
    char c = text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

const char* boolText(bool b) { return b ? "True" : "False"; }

}  // namespace kz
