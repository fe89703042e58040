#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/Text.h"
#include "platform/foundation/TextEncoding.h"

using kz::Encoding;
using kz::Text;
using kz::TextEncoding;

TEST(TextEncoding, DecodesEachEncodingToUtf8) {
    EXPECT_EQ(TextEncoding::decode("\xA5", Encoding::MacRoman), "\u2022");  // bullet, not yen
    EXPECT_EQ(TextEncoding::decode("\x80", Encoding::Windows1252), "\u20AC");
    EXPECT_EQ(TextEncoding::decode("\x82\xA0", Encoding::ShiftJIS), "\u3042");
    EXPECT_EQ(TextEncoding::decode("\x87\x40", Encoding::Windows932), "\u2460");  // NEC extension
    EXPECT_EQ(TextEncoding::decode("\xA4\xA2", Encoding::EUCJP), "\u3042");
    EXPECT_EQ(TextEncoding::decode("\xD6\xD0\xCE\xC4", Encoding::MacChineseSimplified), "\u4E2D\u6587");
    EXPECT_EQ(TextEncoding::decode("\x81", Encoding::DOSLatin1), "\u00FC");
    EXPECT_EQ(TextEncoding::decode("plain", Encoding::ASCII), "plain");
}

TEST(TextEncoding, StrictDecodingRefusesInvalidBytes) {
    EXPECT_FALSE(TextEncoding::decode("a\x80", Encoding::ASCII));
    EXPECT_FALSE(TextEncoding::decode("\x82", Encoding::ShiftJIS));        // truncated pair
    EXPECT_FALSE(TextEncoding::decode("\x82\x20", Encoding::Windows932));  // bad trail byte
    EXPECT_FALSE(TextEncoding::decode("\xC3", Encoding::UTF8));
    EXPECT_FALSE(TextEncoding::decode("\xED\xA0\x80", Encoding::UTF8));  // encoded surrogate
    EXPECT_FALSE(TextEncoding::decode("\xA4", Encoding::EUCJP));
    EXPECT_EQ(TextEncoding::decode("", Encoding::ShiftJIS), "");
}

TEST(TextEncoding, MacVariantsAddTheirSingleBytes) {
    EXPECT_EQ(TextEncoding::decode("\xFD\x82\xA0\xFE", Encoding::MacJapanese), "\u00A9\u3042\u2122");
    EXPECT_EQ(TextEncoding::decode("a\x80", Encoding::MacJapanese), "a\\");
    // 0x80 as a trail byte stays part of its pair.
    EXPECT_EQ(TextEncoding::decode("\x81\x80", Encoding::MacJapanese), TextEncoding::decode("\x81\x80", Encoding::ShiftJIS));
    EXPECT_FALSE(TextEncoding::decode("\xFD", Encoding::ShiftJIS));
    EXPECT_EQ(TextEncoding::decode("\x80\xD6\xD0", Encoding::MacChineseSimplified), "\u00FC\u4E2D");
    EXPECT_EQ(TextEncoding::encode("\u00A9\u3042", Encoding::MacJapanese), "\xFD\x82\xA0");
    // A character the base table has keeps the base's bytes.
    EXPECT_EQ(TextEncoding::encode("\u2026", Encoding::MacJapanese), TextEncoding::encode("\u2026", Encoding::ShiftJIS));
}

TEST(TextEncoding, EncodingIsStrictOrLossy) {
    EXPECT_EQ(TextEncoding::encode("caf\u00E9", Encoding::Windows1252), "caf\xE9");
    EXPECT_FALSE(TextEncoding::encode("\u3042", Encoding::Windows1252));
    EXPECT_FALSE(TextEncoding::encode("a\xFF", Encoding::UTF8));
    EXPECT_EQ(TextEncoding::encodeLossy("a\u3042b", Encoding::Windows1252), "a?b");
    EXPECT_EQ(TextEncoding::encodeLossy("\u3042\U0001F600", Encoding::ShiftJIS), "\x82\xA0?");
    EXPECT_EQ(TextEncoding::encodeLossy("x\xFFy", Encoding::ASCII), "x?y");
    EXPECT_EQ(TextEncoding::encodeLossy("\u00A9\U0001F600", Encoding::MacJapanese), "\xFD?");
    // Byte length of a Japanese text in code page 932: two bytes per kana.
    EXPECT_EQ(TextEncoding::encodeLossy("\u3042\u3044a", Encoding::Windows932).size(), 5u);
}

TEST(TextEncoding, RoundTripsThroughEveryEncoding) {
    for (auto e : {Encoding::UTF8, Encoding::ASCII, Encoding::MacRoman, Encoding::MacJapanese,
                   Encoding::MacChineseSimplified, Encoding::EUCJP, Encoding::Windows1252,
                   Encoding::Windows932, Encoding::DOSLatin1, Encoding::ShiftJIS}) {
        auto bytes = TextEncoding::encode("Tray 1 - A4", e);
        ASSERT_TRUE(bytes) << TextEncoding::name(e);
        EXPECT_EQ(TextEncoding::decode(*bytes, e), "Tray 1 - A4") << TextEncoding::name(e);
        EXPECT_EQ(TextEncoding::fromName(TextEncoding::name(e)), e);
    }
    EXPECT_EQ(TextEncoding::fromName("cp932"), Encoding::Windows932);
    EXPECT_EQ(TextEncoding::fromName("utf8"), Encoding::UTF8);
    EXPECT_FALSE(TextEncoding::fromName("klingon"));
}

TEST(TextEncoding, SystemDefaultFollowsLanguageUntilSet) {
    ::setenv("LANGUAGE", "ja_JP", 1);
    EXPECT_EQ(TextEncoding::systemDefault(), Encoding::Windows932);
    ::setenv("LANGUAGE", "de:en", 1);
    EXPECT_EQ(TextEncoding::systemDefault(), Encoding::Windows1252);
    ::unsetenv("LANGUAGE");
    TextEncoding::setSystemDefault(Encoding::UTF8);
    EXPECT_EQ(TextEncoding::systemDefault(), Encoding::UTF8);
    TextEncoding::setSystemDefault(Encoding::Windows1252);
}

TEST(Text, CaseInsensitiveComparisonFoldsUnicode) {
    EXPECT_TRUE(Text::equalsCaseInsensitive("Tray", "tRAY"));
    EXPECT_TRUE(Text::equalsCaseInsensitive("\u00C9t\u00E9", "\u00E9T\u00C9"));
    EXPECT_TRUE(Text::equalsCaseInsensitive("Stra\u00DFe", "STRASSE"));
    EXPECT_FALSE(Text::equalsCaseInsensitive("a", "b"));
    EXPECT_LT(Text::compareCaseInsensitive("apple", "Banana"), 0);
    EXPECT_GT(Text::compareCaseInsensitive("b", "A"), 0);
    EXPECT_EQ(Text::compareCaseInsensitive("", ""), 0);
    EXPECT_EQ(Text::uppercase("stra\u00DFe"), "STRASSE");
    EXPECT_EQ(Text::lowercase("\u00C4BC"), "\u00E4bc");
}

TEST(Text, Utf16LengthCountsCodeUnits) {
    EXPECT_EQ(Text::utf16Length(""), 0u);
    EXPECT_EQ(Text::utf16Length("abc"), 3u);
    EXPECT_EQ(Text::utf16Length("\u3042\u00E9"), 2u);
    EXPECT_EQ(Text::utf16Length("\U0001F600"), 2u);
    // Each invalid sequence counts as one replacement character.
    EXPECT_EQ(Text::utf16Length("a\xFF\xC3"), 3u);
}

TEST(Text, ReplaceIgnoresCase) {
    EXPECT_EQ(Text::replaceCaseInsensitive("abc ABC aBc x", "abc", "-"), "- - - x");
    EXPECT_EQ(Text::replaceCaseInsensitive("\u00C9t\u00E9 \u00E9T\u00C9", "\u00E9t\u00E9", "ok"), "ok ok");
    EXPECT_EQ(Text::replaceCaseInsensitive("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Text::replaceCaseInsensitive("abc", "", "x"), "abc");
    EXPECT_EQ(Text::replaceCaseInsensitive("tail ab", "AB", ""), "tail ");
}
