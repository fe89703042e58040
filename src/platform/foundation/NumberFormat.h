#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class DecimalFormat;
U_NAMESPACE_END

namespace kz {

class Decimal;

// A number formatter for one ICU decimal pattern ("#,##0.00", "0%"), with the
// fixed POSIX English symbols (',' grouping, '.' decimal point) whatever the
// user's locale, so texts written and read by the system never change with
// it. Rounding is half-even, as the platform's formatters round.
class KZ_EXPORT NumberFormat {
public:
    explicit NumberFormat(std::string pattern);
    ~NumberFormat();
    NumberFormat(NumberFormat&&) noexcept;
    NumberFormat& operator=(NumberFormat&&) noexcept;

    // False when the pattern is not valid; such a formatter formats to the
    // empty text and parses nothing.
    bool isValid() const { return _format != nullptr; }
    const std::string& pattern() const { return _pattern; }

    std::string format(double value) const;
    // The exact decimal, without a detour through binary floating point
    // ("" for not a number).
    std::string format(const Decimal& value) const;
    // The whole text must be a number in the pattern's form.
    std::optional<double> parse(std::string_view text) const;

private:
    std::string _pattern;
    std::unique_ptr<icu::DecimalFormat> _format;
};

}  // namespace kz
