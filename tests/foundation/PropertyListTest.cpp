#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

#include "platform/foundation/PropertyList.h"

using kz::PropertyList;
using kz::Value;

namespace {

std::string dataPath(const char* name) { return std::string(KZ_TEST_DATA) + "/foundation/" + name; }

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void expectOrderedFixture(const Value& v) {
    ASSERT_TRUE(v.isDictionary());
    const auto& d = v.dictionary();
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"zeta", "Ärger", "日本語", "alpha", "mitte"}));
    EXPECT_EQ(d["Ärger"].integerValue(), -42);
    const auto& a = d["日本語"].array();
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0], Value(true));
    EXPECT_EQ(a[1], Value(2.5));
    ASSERT_TRUE(a[2].isDate());
    EXPECT_DOUBLE_EQ(a[2].date().unixTime(), 1767323045.0);
    EXPECT_EQ(a[3].data(), (kz::Data{0, 1, 2, 255}));
    EXPECT_EQ(d["alpha"].dictionary().keys(), (std::vector<std::string>{"y", "b"}));
    EXPECT_EQ(d["alpha"].dictionary()["y"].string(), "ü");
}

// A minimal binary property list: header, objects, offset table, trailer.
std::string bplist(const std::string& objects, const std::vector<unsigned>& offsets, unsigned top = 0) {
    std::string b = "bplist00" + objects;
    std::size_t table = b.size();
    for (unsigned o : offsets) b += static_cast<char>(o);
    std::string trailer(32, '\0');
    trailer[6] = 1;  // offset size
    trailer[7] = 1;  // ref size
    trailer[15] = static_cast<char>(offsets.size());
    trailer[23] = static_cast<char>(top);
    trailer[31] = static_cast<char>(table);
    return b + trailer;
}

// A binary property list holding one date: big-endian seconds since 2001.
std::string bplistDate(double seconds) {
    auto bits = std::bit_cast<std::uint64_t>(seconds);
    std::string object = "\x33";
    for (int shift = 56; shift >= 0; shift -= 8) object += static_cast<char>(bits >> shift);
    return bplist(object, {8});
}

}  // namespace

TEST(PropertyList, XmlAndBinaryKeepFileOrderAndTypes) {
    std::string error;
    expectOrderedFixture(PropertyList::readFile(dataPath("ordered.xml"), &error));
    EXPECT_EQ(error, "");
    // Made with plistutil from the XML fixture.
    expectOrderedFixture(PropertyList::readFile(dataPath("ordered.bplist"), &error));
    EXPECT_EQ(error, "");
}

TEST(PropertyList, WrittenXmlReadsBackEqualInOrder) {
    Value v = PropertyList::readFile(dataPath("ordered.bplist"));
    std::string path = std::string(KZ_BINARY_DIR) + "/plist-roundtrip.plist";
    std::string error;
    ASSERT_TRUE(PropertyList::writeFile(v, path, &error)) << error;
    Value back = PropertyList::readFile(path, &error);
    expectOrderedFixture(back);
    EXPECT_EQ(back, v);
    std::remove(path.c_str());
    EXPECT_FALSE(PropertyList::writeFile(v, "/nonexistent-dir/x.plist", &error));
    EXPECT_FALSE(error.empty());
}

TEST(PropertyList, MalformedAndTruncatedInputGivesError) {
    std::string xml = slurp(dataPath("ordered.xml"));
    std::string bin = slurp(dataPath("ordered.bplist"));
    for (std::size_t cut : {std::size_t{0}, std::size_t{9}, bin.size() / 2, bin.size() - 1}) {
        std::string error;
        EXPECT_TRUE(PropertyList::read(bin.substr(0, cut), &error).isNull()) << cut;
        EXPECT_FALSE(error.empty()) << cut;
    }
    std::string error;
    EXPECT_TRUE(PropertyList::read(xml.substr(0, xml.size() / 2), &error).isNull());
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(PropertyList::read("not a plist at all", &error).isNull());
    EXPECT_TRUE(PropertyList::readFile(dataPath("missing.plist"), &error).isNull());
    EXPECT_NE(error.find("missing.plist"), std::string::npos);
}

TEST(PropertyList, HostileBinaryInputIsRefused) {
    std::string error;
    // Sanity: a one-element array holding `true` reads.
    EXPECT_EQ(PropertyList::read(bplist("\xA1\x01\x09", {8, 10}), &error), Value(kz::Array{Value(true)})) << error;
    // An array that contains itself.
    EXPECT_TRUE(PropertyList::read(bplist(std::string("\xA1\x00", 2), {8}), &error).isNull());
    EXPECT_NE(error.find("cycle"), std::string::npos);
    // A reference beyond the object table.
    EXPECT_TRUE(PropertyList::read(bplist("\xA1\x05", {8}), &error).isNull());
    // A count far beyond the file.
    EXPECT_TRUE(PropertyList::read(bplist("\xAF\x13\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFF", {8}), &error).isNull());
    // Shared references that would expand to 2^40 objects: each array holds
    // the next one twice.
    std::string objects;
    std::vector<unsigned> offsets;
    for (unsigned i = 0; i < 40; ++i) {
        offsets.push_back(8 + static_cast<unsigned>(objects.size()));
        objects += "\xA2";
        objects += static_cast<char>(i + 1);
        objects += static_cast<char>(i + 1);
    }
    offsets.push_back(8 + static_cast<unsigned>(objects.size()));
    objects += "\x09";
    EXPECT_TRUE(PropertyList::read(bplist(objects, offsets), &error).isNull());
    EXPECT_NE(error.find("too many"), std::string::npos);
}

TEST(PropertyList, DeepNestingIsRefused) {
    std::string deep = "<plist><array>";
    for (int i = 0; i < 100000; ++i) deep += "<array>";
    std::string error;
    EXPECT_TRUE(PropertyList::read(deep, &error).isNull());
    EXPECT_NE(error.find("deep"), std::string::npos);
    std::string fine = "<plist>";
    for (int i = 0; i < 100; ++i) fine += "<array>";
    for (int i = 0; i < 100; ++i) fine += "</array>";
    fine += "</plist>";
    EXPECT_TRUE(PropertyList::read(fine, &error).isArray()) << error;
}

TEST(PropertyList, InnerNulCharactersAreRefused) {
    std::string error;
    for (std::string xml : {std::string("<plist><string>a\0b</string></plist>", 36), std::string("<plist><string>a&#0;b</string></plist>"),
                            std::string("<plist><dict><key>&#x000;</key><true/></dict></plist>")}) {
        EXPECT_TRUE(PropertyList::read(xml, &error).isNull()) << xml;
        EXPECT_NE(error.find("NUL"), std::string::npos);
    }
    EXPECT_TRUE(PropertyList::read(bplist(std::string("\x52" "a\0", 3), {8}), &error).isNull());
    EXPECT_NE(error.find("NUL"), std::string::npos);
    EXPECT_EQ(PropertyList::read(bplist("\x52" "ab", {8}), &error), Value("ab")) << error;
    EXPECT_EQ(PropertyList::read("<plist><string>&#10;&#x41;</string></plist>", &error), Value("\nA")) << error;
}

TEST(PropertyList, DatesBeyondWhatLibplistHandsOverAreRefusedBothWays) {
    std::string error;
    // Inside the range, before 2001 with a fraction: the fraction counts backwards.
    Value early = PropertyList::read(bplistDate(-978307199.75), &error);
    ASSERT_TRUE(early.isDate()) << error;
    EXPECT_DOUBLE_EQ(early.date().unixTime(), 0.25);
    EXPECT_DOUBLE_EQ(PropertyList::read(bplistDate(2147483646.5), &error).date().secondsSinceReferenceDate, 2147483646.5);
    Value earlyXml = PropertyList::read("<plist><date>1932-12-13T20:45:53Z</date></plist>", &error);
    ASSERT_TRUE(earlyXml.isDate()) << error;
    EXPECT_DOUBLE_EQ(earlyXml.date().secondsSinceReferenceDate, -2147483647.0);

    // Real files hold dates before 1901 and far ahead; NaN and huge values come from hostile ones.
    const double inf = std::numeric_limits<double>::infinity();
    for (double s : {-2147483649.0, 2147483648.0, 1e300, -1e300, inf, std::nan(""), 0.5, -0.5}) {
        error.clear();
        EXPECT_TRUE(PropertyList::read(bplistDate(s), &error).isNull()) << s;
        EXPECT_NE(error.find("date"), std::string::npos) << s;
    }
    for (const char* date : {"1900-01-01T00:00:00Z", "1932-12-13T20:45:51Z", "2069-01-19T03:14:08Z", "4001-01-01T00:00:00Z"}) {
        error.clear();
        EXPECT_TRUE(PropertyList::read(std::string("<plist><dict><key>d</key><date>") + date + "</date></dict></plist>", &error).isNull())
            << date;
        EXPECT_NE(error.find("date"), std::string::npos) << date;
    }

    // Writing refuses the same dates, wherever they sit, instead of handing libplist a wrong one.
    for (double s : {-2147483649.0, 2147483647.0, 1e300, std::nan(""), inf, -0.5}) {
        error.clear();
        kz::Dictionary d;
        d.set("fine", Value(kz::Date{0}));
        d.set("list", Value(kz::Array{Value(kz::Date{s})}));
        EXPECT_EQ(PropertyList::toXml(Value(d), &error), "") << s;
        EXPECT_NE(error.find("date"), std::string::npos) << s;
        std::string path = std::string(KZ_BINARY_DIR) + "/plist-date.plist";
        EXPECT_FALSE(PropertyList::writeFile(Value(d), path, &error)) << s;
        EXPECT_NE(error.find("date"), std::string::npos);
    }
    for (double s : {0.0, -978307199.75, -2147483647.0, 2147483646.5}) {
        error.clear();
        std::string xml = PropertyList::toXml(Value(kz::Date{s}), &error);
        EXPECT_EQ(error, "");
        Value back = PropertyList::read(xml, &error);
        ASSERT_TRUE(back.isDate()) << s << " " << error;
        // libplist writes XML dates in whole seconds, cut toward zero.
        EXPECT_DOUBLE_EQ(back.date().secondsSinceReferenceDate, std::trunc(s)) << s;
    }
}

TEST(PropertyList, UnsignedIntegersStayExactSignedOnesUnchanged) {
    for (const char* name : {"integers.xml", "integers.bplist"}) {
        std::string error;
        const Value v = PropertyList::readFile(dataPath(name), &error);
        ASSERT_EQ(error, "") << name;
        const auto& d = v.dictionary();
        EXPECT_TRUE(d["max"].isUnsigned()) << name;
        EXPECT_EQ(d["max"].unsignedIntegerValue(), UINT64_MAX) << name;
        EXPECT_EQ(d["max"].stringValue(), "18446744073709551615") << name;
        EXPECT_EQ(d["above"].unsignedIntegerValue(), 9223372036854775808u) << name;
        EXPECT_FALSE(d["signedMax"].isUnsigned()) << name;
        EXPECT_EQ(d["signedMax"].integerValue(), INT64_MAX) << name;
        EXPECT_FALSE(d["minusOne"].isUnsigned()) << name;
        EXPECT_EQ(d["minusOne"].integerValue(), -1) << name;
        EXPECT_EQ(d["signedMin"].integerValue(), INT64_MIN) << name;
        // The same bits, signed and unsigned, are different numbers.
        EXPECT_NE(d["max"], d["minusOne"]) << name;
        EXPECT_NE(d["above"], d["signedMin"]) << name;

        // Written and read again, every value keeps its sign.
        const std::string xml = PropertyList::toXml(v);
        EXPECT_NE(xml.find("<integer>18446744073709551615</integer>"), std::string::npos) << xml;
        EXPECT_NE(xml.find("<integer>-1</integer>"), std::string::npos) << xml;
        EXPECT_EQ(PropertyList::read(xml), v) << name;
    }
}
