#include <gtest/gtest.h>

#include <unicode/unistr.h>

#include "platform/foundation/StringTable.h"

using kz::StringTable;

namespace {

std::string utf16(const std::string& utf8, bool little, bool bom) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(utf8);
    std::string out;
    if (bom) out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (int32_t i = 0; i < u.length(); ++i) {
        char16_t c = u.charAt(i);
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += little ? lo : hi;
        out += little ? hi : lo;
    }
    return out;
}

StringTable parsed(std::string_view bytes) {
    std::string error;
    auto t = StringTable::parse(bytes, &error);
    EXPECT_TRUE(t) << error;
    return t ? *t : StringTable();
}

std::string errorOf(std::string_view bytes) {
    std::string error;
    EXPECT_FALSE(StringTable::parse(bytes, &error));
    return error;
}

}  // namespace

TEST(StringTable, SyntaxCommentsShorthandAndOrder) {
    auto t = parsed(
        "/* header */\n"
        "\"Print\" = \"Drucken\"; // trailing\n"
        "plain_key = plainValue;\n"
        "\"Self\";\n"
        "\"a\"=\"1\";\"a\" = \"2\";\n"
        "\"\" = \"empty key\";\n");
    EXPECT_EQ(t.entries().keys(), (std::vector<std::string>{"Print", "plain_key", "Self", "a", ""}));
    EXPECT_EQ(*t.find("Print"), "Drucken");
    EXPECT_EQ(*t.find("plain_key"), "plainValue");
    EXPECT_EQ(*t.find("Self"), "Self");
    EXPECT_EQ(*t.find("a"), "2");
    EXPECT_EQ(t.find("missing"), nullptr);
    EXPECT_EQ(t.lookup("missing", "fallback"), "fallback");
    EXPECT_EQ(parsed("").size(), 0u);
}

TEST(StringTable, Escapes) {
    auto t = parsed(R"("k" = "a\nb\t\"q\"\\ \U00e9\u65E5 \101\0 \UD83D\UDE00 \UD800x";)");
    EXPECT_EQ(*t.find("k"), std::string("a\nb\t\"q\"\\ é日 A") + std::string(1, '\0') + " 😀 \xEF\xBF\xBDx");
}

TEST(StringTable, Utf16WithAndWithoutByteOrderMark) {
    std::string text = "/* 日本 */\n\"Cancel\" = \"キャンセル\";\n\"😀\" = \"emoji\";\n";
    for (bool little : {true, false})
        for (bool bom : {true, false}) {
            auto t = parsed(utf16(text, little, bom));
            ASSERT_EQ(t.size(), 2u) << little << bom;
            EXPECT_EQ(*t.find("Cancel"), "キャンセル");
            EXPECT_EQ(*t.find("😀"), "emoji");
        }
    EXPECT_EQ(*parsed("\xEF\xBB\xBF\"x\" = \"y\";").find("x"), "y");
}

TEST(StringTable, ErrorsNameTheLine) {
    EXPECT_EQ(errorOf("\"a\" = \"b\";\n\"c\" = \"d\"\n\"e\" = \"f\";"), "line 3: expected ';' after a value");
    EXPECT_EQ(errorOf("\"a\" = \"b\";\n\n\"c\" = \"unterminated;\n"), "line 3: unterminated quoted text");
    EXPECT_EQ(errorOf("\"a\" \"b\";"), "line 1: expected '=' or ';' after a key");
    EXPECT_EQ(errorOf("\n/* open comment"), "line 2: unterminated comment");
    EXPECT_EQ(errorOf("\"a\" = ;"), "line 1: unexpected character ';'");
    EXPECT_EQ(errorOf("\"a\" ="), "line 1: unexpected end of file");
    EXPECT_FALSE(errorOf("\"a\" = \"\xC3\x28\";").empty());                    // bad UTF-8
    EXPECT_FALSE(errorOf("\xFF\xFE\"\0a").empty());                           // odd UTF-16
    EXPECT_FALSE(errorOf(std::string("\xFF\xFE\x00\xD8\x41\x00", 6)).empty());  // lone surrogate
}

TEST(StringTable, RealBundleTable) {
    std::string error;
    auto t = StringTable::readFile(std::string(KZ_SOURCE_DIR) + "/resources/bundle/Contents/Resources/en.lproj/UI.strings",
                                   &error);
    ASSERT_TRUE(t) << error;
    EXPECT_EQ(t->lookup("Cancel", ""), "Cancel");
    EXPECT_FALSE(StringTable::readFile("/nonexistent/x.strings", &error));
    EXPECT_NE(error.find("/nonexistent/x.strings"), std::string::npos);
}
