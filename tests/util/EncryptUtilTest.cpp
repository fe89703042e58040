#include "Common/Security/EncryptUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

constexpr std::string_view kKey = kzp::kPasswordScrambleKey;

std::string scramble(std::string_view key, std::string_view password, std::time_t seconds) {
    std::vector<char> out(kzp::encryptionBufLen(password));
    kzp::Encryption(key, password, out.data(), seconds);
    return out.data();
}

std::string unscramble(std::string_view key, std::string_view scrambled) {
    std::vector<char> out(scrambled.size() + 1, 'X');
    kzp::Decryption(key, scrambled, out.data());
    return out.data();
}

}  // namespace

TEST(EncryptUtil, RoundTripsEveryNonZeroByteAndHasTheHexShape) {
    std::string all;
    for (int b = 1; b <= 255; ++b) all += static_cast<char>(b);  // 255 is the case where v equals prev
    for (std::string password : {std::string("Secret!1"), std::string(1, '\xff'), all, std::string(300, 'a')}) {
        for (std::time_t seconds : {0L, 1L, 1700000000L, 1700000001L}) {
            std::string text = scramble(kKey, password, seconds);
            ASSERT_EQ(text.size(), 2 + 2 * password.size());
            EXPECT_EQ(text.find_first_not_of("0123456789abcdef"), std::string::npos) << text;
            EXPECT_EQ(unscramble(kKey, text), password);
        }
    }
}

TEST(EncryptUtil, SeedFollowsTheSecond) {
    EXPECT_EQ(scramble(kKey, "pw", 1700000000), scramble(kKey, "pw", 1700000000));
    std::vector<std::string> texts;
    for (std::time_t s = 1700000000; s < 1700000010; ++s) texts.push_back(scramble(kKey, "pw", s));
    int distinct = 0;
    for (std::size_t i = 1; i < texts.size(); ++i) distinct += texts[i] != texts[0];
    EXPECT_GT(distinct, 0);
    for (const auto& t : texts) EXPECT_EQ(unscramble(kKey, t), "pw");
    // A different key does not give the password back.
    EXPECT_NE(unscramble("another key", texts[0]), "pw");
}

TEST(EncryptUtil, EmptyPasswordIsTheSeedAlone) {
    std::string text = scramble(kKey, "", 42);
    EXPECT_EQ(text.size(), 2u);
    EXPECT_EQ(unscramble(kKey, text), "");
}

TEST(EncryptUtil, EmptyKeyIsRefusedInBothDirections) {
    EXPECT_EQ(scramble("", "pw", 42), "");
    EXPECT_EQ(unscramble("", scramble(kKey, "pw", 42)), "");
    EXPECT_EQ(kzp::encryptString("", "pw"), "");
    EXPECT_EQ(kzp::decryptString("", "0011"), "");
}

TEST(EncryptUtil, StringFormsTakeNonAsciiAsEmpty) {
    auto text = kzp::encryptString(kKey, "caf\xc3\xa9");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 2u);  // the empty password
    EXPECT_EQ(kzp::encryptString("k\xc3\xa9y", "pw"), "");  // empty key: refused
    auto round = kzp::encryptString(kKey, "Abc 123");
    ASSERT_TRUE(round);
    EXPECT_EQ(kzp::decryptString(kKey, *round), "Abc 123");
}

TEST(EncryptUtil, MalformedScrambledTextStopsAtTheFirstBadPair) {
    std::string good = scramble(kKey, "abcd", 7);
    EXPECT_EQ(unscramble(kKey, good.substr(0, 9)), "abc");  // odd tail ignored
    EXPECT_EQ(unscramble(kKey, good.substr(0, 6) + "zz" + good.substr(8)), "ab");
    EXPECT_EQ(unscramble(kKey, "g0ffff"), "");  // no seed
    EXPECT_EQ(unscramble(kKey, ""), "");
    EXPECT_EQ(unscramble(kKey, "A"), "");
    EXPECT_EQ(unscramble(kKey, good.substr(0, 2) + "ZZ"), "");
}

TEST(EncryptUtil, CStringHelpers) {
    std::string_view data("a\0b", 3);
    auto copy = kzp::cStringByData(data);
    EXPECT_EQ(std::string(copy.get(), 4), std::string("a\0b\0", 4));
    EXPECT_EQ(kzp::cStringByData("")[0], '\0');
    EXPECT_EQ(kzp::stringByCString("plain"), "plain");
    EXPECT_EQ(kzp::stringByCString("\xe2\x82\xac"), std::nullopt);
    EXPECT_EQ(kzp::stringByCString(nullptr), std::nullopt);
}

namespace {

std::string runTool(const std::string& args) {
    std::string command = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string output;
    char chunk[256];
    while (std::size_t n = fread(chunk, 1, sizeof chunk, pipe)) output.append(chunk, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    if (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

}  // namespace

TEST(EncryptUtil, ScrambleFromOneProcessUnscramblesInAnother) {
    std::string scrambled = runTool("password scramble 'paramoxide=qxlr_data' 'Pass word #9'");
    ASSERT_EQ(scrambled.size(), 2 + 2 * std::string("Pass word #9").size());
    EXPECT_EQ(runTool("password unscramble 'paramoxide=qxlr_data' " + scrambled), "Pass word #9");
    EXPECT_EQ(kzp::decryptString(kKey, scrambled), "Pass word #9");
}
