#include "platform/foundation/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using kz::AtomicFile;
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct AtomicFileTest : testing::Test {
    fs::path folder = fs::path(testing::TempDir()) / ("atomic-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {})); }
};

}  // namespace

TEST_F(AtomicFileTest, ReplacesWholeKeepsTheModeAndLeavesNoTemporaryFile) {
    const fs::path path = folder / "list.plist";
    std::string error;
    ASSERT_TRUE(AtomicFile::write(path, std::string("first\0bytes", 11), &error)) << error;
    EXPECT_EQ(slurp(path), std::string("first\0bytes", 11));
    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(AtomicFile::write(path, "second", &error)) << error;
    EXPECT_EQ(slurp(path), "second");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    ASSERT_TRUE(AtomicFile::write(path, "", &error)) << error;
    EXPECT_EQ(slurp(path), "");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, FailureLeavesTheOldFileAndSaysWhy) {
    std::string error;
    EXPECT_FALSE(AtomicFile::write(folder / "missing" / "x.plist", "x", &error));
    EXPECT_NE(error.find("cannot create a temporary file in"), std::string::npos) << error;
    EXPECT_FALSE(AtomicFile::write("", "x", &error));
    EXPECT_EQ(error, "empty path");
    EXPECT_FALSE(AtomicFile::write(folder.string() + "/", "x", &error));

    // A folder in the target's place cannot be replaced; nothing is left over.
    fs::create_directories(folder / "taken");
    std::ofstream(folder / "taken" / "inside") << "kept";
    EXPECT_FALSE(AtomicFile::write(folder / "taken", "x", &error));
    EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
    EXPECT_EQ(slurp(folder / "taken" / "inside"), "kept");
    EXPECT_EQ(entries(), 1u);
}
