#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "Common/Util/FileUtil.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;

namespace {

class FileUtilTest : public ::testing::Test {
protected:
    void SetUp() override {
        _dir = fs::temp_directory_path() / ("kz-fileutil-" + std::to_string(::getpid()));
        fs::remove_all(_dir);
        fs::create_directories(_dir / "Fav:orites");
        std::ofstream(_dir / "Fav:orites" / "a.pfj") << "x";
    }
    void TearDown() override { fs::remove_all(_dir); }

    std::string file() const { return (_dir / "Fav:orites" / "a.pfj").string(); }

    // Skips when the temporary folder's file system keeps no user attributes.
    bool haveAttributes() const {
        if (setxattr(file().c_str(), "user.kz.probe", "1", 1, 0) != 0) return false;
        removexattr(file().c_str(), "user.kz.probe");
        return true;
    }

    std::array<unsigned char, kzp::kFinderInfoSize> finderInfo() const {
        std::array<unsigned char, kzp::kFinderInfoSize> info{};
        getxattr(file().c_str(), kzp::kFinderInfoAttribute, info.data(), info.size());
        return info;
    }

    fs::path _dir;
};

}  // namespace

TEST_F(FileUtilTest, ClassicPathsEndInTheItemWithAColonForFolders) {
    std::string folder = kzp::toClassicPath((_dir / "Fav:orites").string());
    std::string item = kzp::toClassicPath(file());
    // A colon inside a name would split it, so it shows as a slash.
    EXPECT_TRUE(folder.ends_with(":" + _dir.filename().string() + ":Fav/orites:")) << folder;
    EXPECT_EQ(item, folder + "a.pfj");
    EXPECT_EQ(kzp::toClassicPath((_dir / "missing").string()), "");
    EXPECT_EQ(kzp::toClassicPath(""), "");
    EXPECT_EQ(kzp::toClassicPath("/"), "root:");
}

TEST_F(FileUtilTest, InvisibleByFinderFlagOrDotName) {
    EXPECT_FALSE(kzp::isFileInVisible(file()));
    EXPECT_FALSE(kzp::isFileInVisible((_dir / "missing").string()));
    std::ofstream(_dir / ".hidden.pfj") << "x";
    EXPECT_TRUE(kzp::isFileInVisible((_dir / ".hidden.pfj").string()));
    EXPECT_FALSE(kzp::isFileInVisible((_dir / "Fav:orites" / "..").string()));
    if (!haveAttributes()) GTEST_SKIP() << "no extended attributes here";
    std::array<unsigned char, kzp::kFinderInfoSize> info{};
    info[8] = 0x40;  // the invisible bit, big-endian
    ASSERT_EQ(setxattr(file().c_str(), kzp::kFinderInfoAttribute, info.data(), info.size(), 0), 0);
    EXPECT_TRUE(kzp::isFileInVisible(file()));
    info[8] = 0xBF;
    info[9] = 0xFF;  // every other flag
    ASSERT_EQ(setxattr(file().c_str(), kzp::kFinderInfoAttribute, info.data(), info.size(), 0), 0);
    EXPECT_FALSE(kzp::isFileInVisible(file()));
}

TEST_F(FileUtilTest, TypeAndCreatorKeepTheFlags) {
    EXPECT_FALSE(kzp::changeFileTypeAndCreator((_dir / "missing").string(), "'TEXT'", "'ttxt'"));
    if (!haveAttributes()) GTEST_SKIP() << "no extended attributes here";
    std::array<unsigned char, kzp::kFinderInfoSize> info{};
    info[8] = 0x40;
    ASSERT_EQ(setxattr(file().c_str(), kzp::kFinderInfoAttribute, info.data(), info.size(), 0), 0);
    ASSERT_TRUE(kzp::changeFileTypeAndCreator(file(), "'pfj '", "KZPS"));
    auto got = finderInfo();
    EXPECT_EQ(std::string(got.begin(), got.begin() + 8), "pfj KZPS");
    EXPECT_TRUE(kzp::isFileInVisible(file()));
    // What is not a four-character code clears the code.
    ASSERT_TRUE(kzp::changeFileTypeAndCreator(file(), "TOOLONG", ""));
    got = finderInfo();
    EXPECT_EQ(std::string(got.begin(), got.begin() + 8), std::string(8, '\0'));
    // An attribute that is not the 32-byte layout is left alone.
    std::string odd(40, 'x');
    ASSERT_EQ(setxattr(file().c_str(), kzp::kFinderInfoAttribute, odd.data(), odd.size(), 0), 0);
    EXPECT_FALSE(kzp::changeFileTypeAndCreator(file(), "TEXT", "ttxt"));
}
