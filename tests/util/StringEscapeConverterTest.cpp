#include "Common/TextInput/StringEscapeConverter.h"

#include <gtest/gtest.h>

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

const std::string kYen = "\xc2\xa5";

kzp::StringEscapeConverter withRules(bool japanese) {
    kzp::StringEscapeConverter c;
    c.addEscapeRules(japanese);
    return c;
}

}  // namespace

TEST(StringEscapeConverter, TransportRulesBothWays) {
    for (bool japanese : {false, true}) {
        auto c = withRules(japanese);
        EXPECT_EQ(c.replacePattern().size(), 6u);
        EXPECT_EQ(c.escape("say \"hi\""), "say \\\"hi\\\"");
        EXPECT_EQ(c.escape("a\\b" + kYen + "c"), "a\\\\b\\\\c");
        EXPECT_EQ(c.escape("l1\nl2\xe2\x80\xa8l3"), "l1\\nl2\\nl3");
        EXPECT_EQ(c.unEscape("l1\\nl2"), "l1\nl2");
        EXPECT_EQ(c.unEscape("q\\\"q"), "q\"q");
        EXPECT_EQ(c.unEscape("x\\\\y"), japanese ? "x" + kYen + "y" : "x\\y");
        EXPECT_EQ(c.escape("\xe6\x97\xa5\xe6\x9c\xac"), "\xe6\x97\xa5\xe6\x9c\xac");  // untouched
    }
}

TEST(StringEscapeConverter, EarlierRuleWinsAndEmptyRulesAreIgnored) {
    auto c = kzp::StringEscapeConverter::emptyConverter();
    EXPECT_EQ(c->escape("abc"), "abc");
    c->replace("", "x");  // would loop forever on any text
    c->replace("a", "");
    c->replace("ab", "1");
    c->replace("a", "2");
    c->replace("ab", "3");
    EXPECT_EQ(c->replacePattern().size(), 3u);
    EXPECT_EQ(c->escape("abac"), "12c");
    EXPECT_EQ(c->unEscape("312"), "ababa");  // "3" and "1" both mean "ab"
    // A stray or cut UTF-8 byte is copied, never split further or dropped.
    EXPECT_EQ(c->escape("\xe6\x97"), "\xe6\x97");
}
