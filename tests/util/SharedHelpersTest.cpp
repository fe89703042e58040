#include <gtest/gtest.h>

#include "Common/Util/OSUtil.h"
#include "Common/Util/RangeUtil.h"
#include "Common/Util/StringUtil.h"
#include "platform/foundation/TextEncoding.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

TEST(StringUtil, LengthByBytesUsesTheDefaultEncodingOrItsLossyForm) {
    kz::TextEncoding::setSystemDefault(kz::Encoding::Windows932);
    EXPECT_EQ(kzp::lengthByBytes("\u3042\u3044a"), 5u);
    EXPECT_EQ(kzp::lengthByBytes("a\U0001F600"), 2u);  // lossy: one '?'
    kz::TextEncoding::setSystemDefault(kz::Encoding::Windows1252);
    EXPECT_EQ(kzp::lengthByBytes("caf\u00E9"), 4u);
    EXPECT_EQ(kzp::lengthByBytes("\u3042\u3044"), 2u);
    EXPECT_EQ(kzp::lengthByBytes(""), 0u);
}

TEST(StringUtil, BoolValueIfStringWantsTrueForTexts) {
    EXPECT_TRUE(kzp::boolValueIfString(kz::Value("TRUE")));
    EXPECT_TRUE(kzp::boolValueIfString(kz::Value("true")));
    EXPECT_FALSE(kzp::boolValueIfString(kz::Value("YES")));
    EXPECT_FALSE(kzp::boolValueIfString(kz::Value("1")));
    EXPECT_TRUE(kzp::boolValueIfString(kz::Value(true)));
    EXPECT_TRUE(kzp::boolValueIfString(kz::Value(2)));
    EXPECT_FALSE(kzp::boolValueIfString(kz::Value()));
}

TEST(StringUtil, ContainAndReplace) {
    EXPECT_TRUE(kzp::isContain("Punch_PunchHoles", "Holes"));
    EXPECT_FALSE(kzp::isContain("Punch", "punch"));
    EXPECT_FALSE(kzp::isContain("Punch", ""));
    EXPECT_EQ(kzp::replaceOccurrencesOfString("xabcABCaBc", "abc", "."), "x...");
    EXPECT_EQ(kzp::replaceOccurrencesOfString("\u00C4rger", "\u00E4", "ae"), "aerger");
    EXPECT_EQ(kzp::replaceOccurrencesOfString("abc", std::nullopt, "x"), "abc");
    EXPECT_EQ(kzp::replaceOccurrencesOfString("abc", "b", std::nullopt), "abc");
    EXPECT_FALSE(kzp::replaceOccurrencesOfString(std::nullopt, "b", "x"));
}

TEST(StringUtil, WindowsNamesAndControlTitles) {
    EXPECT_EQ(kzp::toAllowedForWindows("a/b:c", "_"), "a_b_c");
    EXPECT_EQ(kzp::toAllowedForWindows("\\/:;,*?\"<>|", ""), "");
    EXPECT_EQ(kzp::toAllowedForWindows("\u65E5\u672C?", "-"), "\u65E5\u672C-");
    EXPECT_EQ(kzp::controlTitleString("Copies"), "Copies:");
    EXPECT_EQ(kzp::stringByDeletingControlTitleSuffix("Copies::"), "Copies:");
    EXPECT_EQ(kzp::stringByDeletingControlTitleSuffix("Copies"), "Copies");
    EXPECT_EQ(kzp::stringByDeletingControlTitleSuffix(""), "");
}

TEST(StringUtil, ReadDoubleStopsAtTheFirstOtherCharacter) {
    const char* end = nullptr;
    const char* text = "12,5x";
    EXPECT_DOUBLE_EQ(kzp::read_double(text, &end), 12.5);
    EXPECT_EQ(end, text + 4);
    text = "-3";
    EXPECT_EQ(kzp::read_double(text, &end), 0);
    EXPECT_EQ(end, text);
    text = "0.125mm";
    EXPECT_DOUBLE_EQ(kzp::read_double(text, &end), 0.125);
    EXPECT_EQ(end, text + 5);
    text = "7.";
    EXPECT_DOUBLE_EQ(kzp::read_double(text, &end), 7);
    EXPECT_EQ(end, text + 2);
    EXPECT_EQ(kzp::read_double(nullptr, &end), 0);
    EXPECT_EQ(end, nullptr);
    EXPECT_DOUBLE_EQ(kzp::read_double("1e5", nullptr), 1);
}

TEST(RangeUtil, IntersectionAndUnion) {
    using kzp::_MakeRange;
    EXPECT_EQ(kzp::_IntersectionRange(_MakeRange(0, 10), _MakeRange(5, 10)), _MakeRange(5, 5));
    EXPECT_EQ(kzp::_IntersectionRange(_MakeRange(0, 1), _MakeRange(5, 1)), _MakeRange(0, 0));
    EXPECT_EQ(kzp::_IntersectionRange(_MakeRange(0, 5), _MakeRange(5, 1)), _MakeRange(5, 0));  // touching
    EXPECT_EQ(kzp::_IntersectionRange(_MakeRange(2, 3), _MakeRange(0, 10)), _MakeRange(2, 3));
    EXPECT_EQ(kzp::_UnionRange(_MakeRange(5, 1), _MakeRange(0, 2)), _MakeRange(0, 6));
    EXPECT_EQ(kzp::_UnionRange(_MakeRange(0, 10), _MakeRange(2, 1)), _MakeRange(0, 10));
}

TEST(OSUtil, ToolkitVersionTable) {
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(577), 1000);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(578), 1010);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(663.9), 1020);  // rounded down first
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(664), 1030);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(949.5), 1050);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(1038), 10060);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(1038.5), 10060);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(1039), 10070);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(1265), 10090);
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(1266), 10100);
}

TEST(OSUtil, ThisSystemAnswersAsTheNewest) {
    EXPECT_EQ(kzp::osVersionFromAppKitVersion(), 10100);
    EXPECT_TRUE(kzp::isOSVer_After10_2() && kzp::isOSVer_After10_4() && kzp::isOSVer_After10_9());
    EXPECT_TRUE(kzp::isOSVer_After10_10());
    EXPECT_EQ(kzp::osVersionFromGestaltManager(), 0x10A0);
    EXPECT_TRUE(kzp::isDropletApplicationBundle());
    EXPECT_FALSE(kzp::isSystemSupportedAppleTalk());
}
