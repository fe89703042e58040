#include "platform/foundation/NumberFormat.h"

#include <unicode/decimfmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/fmtable.h>
#include <unicode/parsepos.h>
#include <unicode/unistr.h>

#include <cmath>

#include "platform/foundation/Decimal.h"

namespace kz {

namespace {
constexpr std::size_t kMaxText = 4096;

icu::UnicodeString toUnicode(std::string_view s) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
}
}  // namespace

NumberFormat::NumberFormat(std::string pattern) : _pattern(std::move(pattern)) {
    if (_pattern.size() > kMaxText) return;
    UErrorCode status = U_ZERO_ERROR;
    auto* symbols = new icu::DecimalFormatSymbols(icu::Locale("en_US_POSIX"), status);
    if (U_FAILURE(status)) {
        delete symbols;
        return;
    }
    // The formatter takes ownership of the symbols, also on failure.
    auto format = std::make_unique<icu::DecimalFormat>(toUnicode(_pattern), symbols, status);
    if (U_FAILURE(status)) return;
    _format = std::move(format);
}

NumberFormat::~NumberFormat() = default;
NumberFormat::NumberFormat(NumberFormat&&) noexcept = default;
NumberFormat& NumberFormat::operator=(NumberFormat&&) noexcept = default;

std::string NumberFormat::format(double value) const {
    if (!_format) return {};
    icu::UnicodeString out;
    _format->format(value, out);
    std::string utf8;
    out.toUTF8String(utf8);
    return utf8;
}

std::string NumberFormat::format(const Decimal& value) const {
    if (!_format || value.isNaN()) return {};
    const std::string digits = value.toString();
    icu::UnicodeString out;
    UErrorCode status = U_ZERO_ERROR;
    _format->format(icu::StringPiece(digits.data(), static_cast<int32_t>(digits.size())), out, nullptr, status);
    if (U_FAILURE(status)) return {};
    std::string utf8;
    out.toUTF8String(utf8);
    return utf8;
}

std::optional<double> NumberFormat::parse(std::string_view text) const {
    if (!_format || text.empty() || text.size() > kMaxText) return std::nullopt;
    const icu::UnicodeString u = toUnicode(text);
    icu::Formattable result;
    icu::ParsePosition position(0);
    _format->parse(u, result, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != u.length()) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const double d = result.getDouble(status);
    if (U_FAILURE(status) || std::isnan(d)) return std::nullopt;
    return d;
}

}  // namespace kz
