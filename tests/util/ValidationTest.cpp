#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "Common/TextInput/MailAddressFormatter.h"
#include "Common/TextInput/PageRangeFormatter.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

struct PageRangeCase {
    const char* text;
    bool valid;
};

// Test names show the text with every byte outside printable ASCII as \xNN.
void PrintTo(const PageRangeCase& c, std::ostream* os) {
    static const char digits[] = "0123456789abcdef";
    *os << '"';
    for (const char* p = c.text; *p; ++p) {
        auto b = static_cast<unsigned char>(*p);
        if (b > 0x20 && b < 0x7f) *os << *p;
        else *os << "\\x" << digits[b >> 4] << digits[b & 15];
    }
    *os << "\" -> " << (c.valid ? "valid" : "invalid");
}

class PageRanges : public ::testing::TestWithParam<PageRangeCase> {};

}  // namespace

TEST_P(PageRanges, FollowTheRules) {
    EXPECT_EQ(kzp::PageRangeFormatter::isValidPageRanges(GetParam().text), GetParam().valid) << GetParam().text;
}

// The documented examples first, then the corners around them.
INSTANTIATE_TEST_SUITE_P(Examples, PageRanges,
                         ::testing::Values(PageRangeCase{"1-3,5", true}, PageRangeCase{"7-", true},
                                           PageRangeCase{"-4", true}, PageRangeCase{"2, 4 - 6", true},
                                           PageRangeCase{"1,,2", true}, PageRangeCase{"0", false},
                                           PageRangeCase{"3-2", false}, PageRangeCase{"1-a", false},
                                           PageRangeCase{",", false}, PageRangeCase{"-", false}));

INSTANTIATE_TEST_SUITE_P(
    Corners, PageRanges,
    ::testing::Values(PageRangeCase{"", true}, PageRangeCase{"   \t ", true},
                      PageRangeCase{"1\n3-4", true},             // line feeds split pieces
                      PageRangeCase{"1\r\n2", false},            // a carriage return is left over
                      PageRangeCase{"1\xe3\x80\x80-2", true},    // an ideographic space is a blank
                      PageRangeCase{"\xef\xbc\x91", false},      // a full-width digit is not a number
                      PageRangeCase{"5-5", true}, PageRangeCase{"--3", false}, PageRangeCase{"+3", false},
                      PageRangeCase{"0-3", false}, PageRangeCase{"1,0", false}, PageRangeCase{"1,-", false},
                      PageRangeCase{"2147483647", true}, PageRangeCase{"2147483648", false},
                      PageRangeCase{"2147483648,1", true}, PageRangeCase{"1-99999999999999999999999", true},
                      PageRangeCase{"99999999999999999999999-", false}, PageRangeCase{"1-2-3", false},
                      PageRangeCase{"\xff", false}));

TEST(MailAddresses, SeparatorsAndCounting) {
    EXPECT_EQ(kzp::MailAddressFormatter::countMailAddresses("a@example.jp; b@example.jp,"), 2u);
    EXPECT_EQ(kzp::MailAddressFormatter::countMailAddresses(" ,a b\tc\nd;"), 4u);
    EXPECT_TRUE(kzp::MailAddressFormatter::isValidMailAddressList("x"));
    for (const char* none : {"", " ", ";,; ,", "\t\r\n"})
        EXPECT_FALSE(kzp::MailAddressFormatter::isValidMailAddressList(none)) << none;
}

TEST(MailAddresses, LongTextIsValidatedWhole) {
    // The address lies past the first 128 bytes.
    EXPECT_TRUE(kzp::MailAddressFormatter::isValidMailAddressList(std::string(200, ' ') + "a@example.jp"));
    std::string many;
    for (int i = 0; i < 40; ++i) many += "user" + std::to_string(i) + "@example.jp; ";
    EXPECT_EQ(kzp::MailAddressFormatter::countMailAddresses(many), 40u);
}
