#include "Common/TextInput/CharacterSet.h"

#include <gtest/gtest.h>

namespace kzp = ComTORVALEKZ2R4_Plugin;

TEST(CharacterSet, MembersFromTextAndRanges) {
    auto digits = kzp::CharacterSet::characterSetWithRange(U'0', U'9');
    EXPECT_FALSE(digits->containsNonMemberOf("0123456789"));
    EXPECT_TRUE(digits->containsNonMemberOf("12a"));
    EXPECT_FALSE(digits->containsNonMemberOf(""));
    EXPECT_TRUE(digits->containsNonMemberOf("1\xff"));  // a stray byte is never allowed

    auto kana = kzp::CharacterSet::characterSetWithCharactersInString("\xe3\x81\x82\xe3\x81\x84-");  // two kana and "-"
    EXPECT_TRUE(kana->characterIsMember(U'\u3042'));
    EXPECT_FALSE(kana->characterIsMember(U'\u3046'));
    EXPECT_FALSE(kana->containsNonMemberOf("\xe3\x81\x84-\xe3\x81\x82"));
    EXPECT_TRUE(kana->containsMemberOf("x-"));
    EXPECT_FALSE(kana->containsMemberOf("xyz"));
}

TEST(CharacterSet, ControlCharactersAreCcAndCf) {
    const auto& control = kzp::CharacterSet::controlCharacterSet();
    for (char32_t c : {U'\t', U'\n', U'\r', char32_t(0x7f), char32_t(0x85), char32_t(0x200b), char32_t(0xfeff)})
        EXPECT_TRUE(control.characterIsMember(c)) << static_cast<unsigned>(c);
    for (char32_t c : {U' ', U'a', char32_t(0xa5), char32_t(0x3000), char32_t(0x2028)})
        EXPECT_FALSE(control.characterIsMember(c)) << static_cast<unsigned>(c);
    EXPECT_TRUE(control.containsMemberOf("job\tname"));
    EXPECT_FALSE(control.containsMemberOf("job name"));
}
