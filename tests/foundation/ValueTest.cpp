#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/foundation/Value.h"

using kz::Value;

TEST(ValueText, IntValueReadsLeadingDigitsOnly) {
    EXPECT_EQ(Value("  42abc").intValue(), 42);
    EXPECT_EQ(Value("\t-17").intValue(), -17);
    EXPECT_EQ(Value("+8").intValue(), 8);
    EXPECT_EQ(Value("abc").intValue(), 0);
    EXPECT_EQ(Value("").intValue(), 0);
    EXPECT_EQ(Value("- 5").intValue(), 0);
    EXPECT_EQ(Value("12.9").intValue(), 12);
}

TEST(ValueText, IntValueClampsOnOverflow) {
    EXPECT_EQ(Value("99999999999999").intValue(), std::numeric_limits<int>::max());
    EXPECT_EQ(Value("-99999999999999").intValue(), std::numeric_limits<int>::min());
    EXPECT_EQ(Value("-2147483648").intValue(), std::numeric_limits<int>::min());
    EXPECT_EQ(Value("99999999999999999999999").integerValue(), std::numeric_limits<std::int64_t>::max());
}

TEST(ValueText, DoubleValueReadsLeadingNumber) {
    EXPECT_DOUBLE_EQ(Value(" 2.5mm").doubleValue(), 2.5);
    EXPECT_DOUBLE_EQ(Value("-.5").doubleValue(), -0.5);
    EXPECT_DOUBLE_EQ(Value("1e3x").doubleValue(), 1000);
    EXPECT_DOUBLE_EQ(Value("1e").doubleValue(), 1);
    EXPECT_DOUBLE_EQ(Value("x1").doubleValue(), 0);
    EXPECT_DOUBLE_EQ(Value("0x10").doubleValue(), 0);
}

TEST(ValueText, BoolValueLooksAtFirstSignificantCharacter) {
    for (const char* yes : {"YES", "yes", "True", "t", "1", " 9", "-1", "007", "+y"}) EXPECT_TRUE(Value(yes).boolValue()) << yes;
    for (const char* no : {"NO", "False", "0", "", "  ", "nope", "000", "-"}) EXPECT_FALSE(Value(no).boolValue()) << no;
}

TEST(ValueConversion, BooleansShowAsTrueFalseAndNumbersCompareByValue) {
    EXPECT_EQ(Value(true).stringValue(), "True");
    EXPECT_EQ(Value(false).stringValue(), "False");
    EXPECT_EQ(Value(3).stringValue(), "3");
    EXPECT_EQ(Value(2.5).stringValue(), "2.5");
    EXPECT_EQ(Value(1), Value(1.0));
    EXPECT_EQ(Value(true), Value(1));
    EXPECT_NE(Value("1"), Value(1));
    EXPECT_EQ(Value(2.9).intValue(), 2);
    EXPECT_EQ(Value(-2.9).intValue(), -2);
}

TEST(ValueConversion, UnsignedIntegersAboveTheSignedRange) {
    const Value big(18446744073709551615ull), above(9223372036854775808ull);
    EXPECT_TRUE(big.isInteger());
    EXPECT_TRUE(big.isUnsigned());
    EXPECT_STREQ(big.typeName(), "integer");
    EXPECT_EQ(big.stringValue(), "18446744073709551615");
    EXPECT_EQ(above.description(), "9223372036854775808");
    // Signed accessors clamp rather than wrap round to a negative number.
    EXPECT_EQ(big.integerValue(), INT64_MAX);
    EXPECT_EQ(big.intValue(), INT32_MAX);
    EXPECT_DOUBLE_EQ(above.doubleValue(), 9223372036854775808.0);
    EXPECT_TRUE(above.boolValue());
    // Unsigned values in the signed range are ordinary integers.
    EXPECT_FALSE(Value(42ul).isUnsigned());
    EXPECT_EQ(Value(42ul), Value(42));
    EXPECT_EQ(Value(-1).unsignedIntegerValue(), UINT64_MAX);
    // Exact comparison: neither the clamped nor the wrapped signed value is equal.
    EXPECT_EQ(big, Value(18446744073709551615ull));
    EXPECT_NE(big, above);
    EXPECT_NE(big, Value(-1));
    EXPECT_NE(big, Value(static_cast<long long>(INT64_MAX)));
    EXPECT_EQ(above, Value(9223372036854775808.0));
}

TEST(ValueContainers, TypedAccessOfOtherTypeIsEmpty) {
    Value v(5);
    EXPECT_TRUE(v.string().empty());
    EXPECT_TRUE(v.array().empty());
    EXPECT_TRUE(v.dictionary().empty());
    v.mutableArray().push_back("a");
    EXPECT_TRUE(v.isArray());
    EXPECT_EQ(v.array().size(), 1u);
}

TEST(Dictionary, KeepsInsertionOrderAndReplacesInPlace) {
    kz::Dictionary d;
    d.set("b", 1);
    d.set("a", 2);
    d.set("c", 3);
    d.set("a", 4);
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(d["a"].intValue(), 4);
    EXPECT_TRUE(d.remove("b"));
    EXPECT_FALSE(d.remove("b"));
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(d["c"].intValue(), 3);
    EXPECT_TRUE(d["missing"].isNull());
}

TEST(Dictionary, EqualityIgnoresOrderAndNestsInValues) {
    kz::Dictionary a{{"x", 1}, {"y", "two"}};
    kz::Dictionary b{{"y", "two"}, {"x", 1}};
    EXPECT_EQ(a, b);
    b.set("x", 2);
    EXPECT_NE(a, b);
    Value nested(kz::Dictionary{{"inner", Value(a)}});
    EXPECT_EQ(nested.dictionary()["inner"].dictionary()["y"].string(), "two");
}
