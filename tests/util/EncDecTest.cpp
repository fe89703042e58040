#include "Common/Security/EncDec.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

const std::string kResources = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources";

kzp::EncDecBuffer filled(char c) {
    kzp::EncDecBuffer b;
    b.fill(c);
    return b;
}

class EncDec : public ::testing::Test {
protected:
    void TearDown() override { kzp::unloadEncDec(); }
};

}  // namespace

TEST_F(EncDec, WithoutALibraryEncodeAndDecodeFailCleanly) {
    auto buffer = filled('k');
    kz::LogCapture log;
    EXPECT_EQ(kzp::encode("secret", buffer), kzp::kEncDecNotLoaded);
    EXPECT_EQ(kzp::decode("00", buffer), kzp::kEncDecNotLoaded);
    EXPECT_EQ(buffer, filled('k'));

    EXPECT_EQ(kzp::loadEncDec("/nonexistent/folder"), -1);
    EXPECT_TRUE(log.contains("xxx dlopen(/nonexistent/folder/libencryption.so) error 2"));
    EXPECT_EQ(kzp::encode("secret", buffer), kzp::kEncDecNotLoaded);

    EXPECT_EQ(kzp::loadEncDec(std::string(3000, 'x')), -1);
    EXPECT_EQ(kzp::encode("secret", buffer), kzp::kEncDecNotLoaded);
}

TEST_F(EncDec, IncompleteLibraryIsRefusedAndClosed) {
    kz::LogCapture log;
    EXPECT_EQ(kzp::loadEncDec(KZ_INCOMPLETE_ENCDEC_DIR), -1);
    EXPECT_TRUE(log.contains("xxx incomplete status "));
    EXPECT_FALSE(kzp::isEncDecLoaded());
    auto buffer = filled('k');
    EXPECT_EQ(kzp::encode("secret", buffer), kzp::kEncDecNotLoaded);
    // After the refusal a complete library still loads.
    EXPECT_EQ(kzp::loadEncDec(kResources), 0);
}

TEST_F(EncDec, RoundTripWithoutWritingThePassword) {
    ASSERT_EQ(kzp::loadEncDec(kResources), 0);
    EXPECT_EQ(kzp::loadEncDec(kResources), 0);  // loaded and complete: a no-op
    kz::LogCapture log;
    kzp::EncDecBuffer encoded = filled('k'), decoded = filled('k');
    const std::string password = "Top \"secret\" 42";
    ASSERT_EQ(kzp::encode(password, encoded), 0);
    EXPECT_EQ(std::strlen(encoded.data()), 2 * password.size());
    ASSERT_EQ(kzp::decode(encoded.data(), decoded), 0);
    EXPECT_EQ(std::string(decoded.data()), password);
    EXPECT_TRUE(log.contains("ENCODE:"));
    EXPECT_TRUE(log.contains("DECODE:"));
    for (const std::string& line : log.lines()) {
        EXPECT_EQ(line.find("secret"), std::string::npos) << line;
        EXPECT_EQ(line.find(encoded.data()), std::string::npos) << line;
    }
}

TEST_F(EncDec, ResultsOfTheBufferSizeOrMoreAreRefusedInBothDirections) {
    ASSERT_EQ(kzp::loadEncDec(kResources), 0);
    kz::LogCapture log;
    auto buffer = filled('k');
    EXPECT_EQ(kzp::encode(std::string(512, 'a'), buffer), kzp::kEncDecTooLong);
    EXPECT_TRUE(log.contains("### too long string, encoding size=1024"));
    EXPECT_EQ(buffer, filled('k'));
    EXPECT_EQ(kzp::encode(std::string(511, 'a'), buffer), 0);  // 1022 bytes fit

    buffer = filled('k');
    EXPECT_EQ(kzp::decode(std::string(2048, '0'), buffer), kzp::kEncDecTooLong);
    EXPECT_TRUE(log.contains("### too long string, decoding size=1024"));
    EXPECT_EQ(buffer, filled('k'));
}

TEST_F(EncDec, LibraryErrorsAreReturnedUnchangedAndLeaveTheBuffer) {
    ASSERT_EQ(kzp::loadEncDec(kResources), 0);
    kz::LogCapture log;
    auto buffer = filled('k');
    EXPECT_EQ(kzp::decode("abc", buffer), EINVAL);
    EXPECT_TRUE(log.contains(kz::strprintf("xxx encryption_decode_guess_count() error=%d", EINVAL)));
    EXPECT_EQ(kzp::decode("zz", buffer), EINVAL);
    EXPECT_TRUE(log.contains(kz::strprintf("xxx encryption_decode() error=%d", EINVAL)));
    EXPECT_EQ(buffer, filled('k'));
}

TEST_F(EncDec, SelfTestReportsEachStage) {
    std::string message;
    kz::LogCapture log;
    EXPECT_EQ(kzp::checkEncDec("probe", kResources, &message), 0);
    EXPECT_EQ(message, kResources + "/libencryption.so");
    EXPECT_EQ(log.lines().back(), "checkEncDec:OK");
    EXPECT_FALSE(kzp::isEncDecLoaded());

    EXPECT_EQ(kzp::checkEncDec("probe", "/nonexistent", nullptr), -1);
    EXPECT_TRUE(log.contains("checkEncDec:loadEncDec error"));
    EXPECT_EQ(kzp::checkEncDec(std::string(600, 'p'), kResources, nullptr), -2);
    EXPECT_TRUE(log.contains("checkEncDec:encode error"));
}
