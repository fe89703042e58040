#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/foundation/Decimal.h"
#include "platform/foundation/NumberFormat.h"
#include "platform/foundation/Regex.h"

using kz::Decimal;
using kz::NumberFormat;
using kz::Regex;

static Decimal dec(const char* s) { return Decimal::parse(s).value(); }

TEST(Decimal, ParsesAndPrintsExactly) {
    EXPECT_EQ(dec("0.1").toString(), "0.1");
    EXPECT_EQ(dec("  -012.500 ").toString(), "-12.5");
    EXPECT_EQ(dec("1.5e3").toString(), "1500");
    EXPECT_EQ(dec("25e-4").toString(), "0.0025");
    EXPECT_EQ(dec("-0.0").toString(), "0");
    EXPECT_EQ(dec(".5").toString(), "0.5");
    EXPECT_EQ(dec("1e-150").toString(), "0." + std::string(149, '0') + "1");  // no silent rounding
    EXPECT_EQ(dec("123456789012345678901234567890.1").toString(), "123456789012345678901234567890.1");
    for (const char* bad : {"", "-", ".", "1.2.3", "1e", "e5", "12x", "0x10", "1e999", "nan"})
        EXPECT_FALSE(Decimal::parse(bad)) << bad;
    EXPECT_FALSE(Decimal::parse(std::string(1001, '1')));
}

TEST(Decimal, ArithmeticIsExact) {
    EXPECT_EQ(dec("0.1") + dec("0.2"), dec("0.3"));
    EXPECT_EQ((dec("297") * dec("14400") / dec("25.4")).rounded(0).toString(), "168378");
    EXPECT_EQ((dec("1") - dec("0.001")).toString(), "0.999");
    EXPECT_EQ((dec("1") / dec("3")).toString(), "0." + std::string(38, '3'));
    EXPECT_EQ((dec("2") / dec("3")).toString(), "0." + std::string(37, '6') + "7");
    EXPECT_EQ(dec("1.50"), dec("1.5"));
    EXPECT_LT(dec("-2"), dec("1.5"));
    EXPECT_GT(dec("0.11"), dec("0.1"));
}

TEST(Decimal, DivisionByZeroIsNotANumber) {
    const Decimal q = Decimal(1) / Decimal(0);
    EXPECT_TRUE(q.isNaN());
    EXPECT_TRUE((q + Decimal(1)).isNaN());
    EXPECT_NE(q, q);
    EXPECT_EQ(q.toString(), "NaN");
    EXPECT_EQ(q.toInteger(), 0);
}

TEST(Decimal, RoundsHalfAwayFromZero) {
    EXPECT_EQ(dec("2.5").rounded(0).toString(), "3");
    EXPECT_EQ(dec("-2.5").rounded(0).toString(), "-3");
    EXPECT_EQ(dec("2.45").rounded(1).toString(), "2.5");
    EXPECT_EQ(dec("2.449").rounded(1).toString(), "2.4");
    EXPECT_EQ(dec("1250").rounded(-2).toString(), "1300");
    EXPECT_EQ(dec("3.5").toInteger(), 4);
    EXPECT_EQ(dec("-0.5").toInteger(), -1);
    EXPECT_EQ(dec("1e30").toInteger(), std::numeric_limits<long long>::max());
    EXPECT_DOUBLE_EQ(dec("-12.25").toDouble(), -12.25);
}

TEST(NumberFormat, FormatsAndParsesWithFixedSymbols) {
    std::setlocale(LC_ALL, "C");
    NumberFormat grouped("#,##0.00");
    ASSERT_TRUE(grouped.isValid());
    EXPECT_EQ(grouped.format(1234.5), "1,234.50");
    EXPECT_EQ(grouped.format(-0.125), "-0.12");  // half-even
    EXPECT_EQ(grouped.parse("1,234.50"), 1234.5);
    EXPECT_FALSE(grouped.parse("12abc"));
    EXPECT_FALSE(grouped.parse(""));
    EXPECT_EQ(NumberFormat("0").format(2.5), "2");
    EXPECT_EQ(NumberFormat("0.0#").format(3), "3.0");
}

TEST(NumberFormat, InvalidPatternFormatsNothing) {
    NumberFormat bad("#,##0.00;;;'");
    EXPECT_FALSE(bad.isValid());
    EXPECT_EQ(bad.format(1), "");
    EXPECT_FALSE(bad.parse("1"));
}

TEST(Regex, MatchesTheWholeText) {
    EXPECT_TRUE(Regex::matchesWhole("[0-9]+", "12345"));
    EXPECT_FALSE(Regex::matchesWhole("[0-9]+", "123a"));  // not just a prefix
    EXPECT_FALSE(Regex::matchesWhole("[0-9]+", "a123"));
    EXPECT_TRUE(Regex::matchesWhole("[^@]+@[^@]+", "user@example.com"));
    EXPECT_TRUE(Regex::matchesWhole("\\p{L}+", "\u65E5\u672C\u00E9"));  // characters, not bytes
    EXPECT_TRUE(Regex::matchesWhole(".{3}", "\u3042\u3044\u3046"));
    EXPECT_TRUE(Regex::matchesWhole("", ""));
}

TEST(Regex, BadOrRunawayPatternsAreFalse) {
    EXPECT_FALSE(Regex::matchesWhole("([a-z", "abc"));
    EXPECT_FALSE(Regex::matchesWhole("*", "*"));
    EXPECT_FALSE(Regex::matchesWhole(std::string(5000, 'a'), std::string(5000, 'a')));
    EXPECT_FALSE(Regex::matchesWhole("(a+)+b", std::string(40, 'a')));
}
