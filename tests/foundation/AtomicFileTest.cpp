#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/foundation/CrashPoint.h"

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

TEST_F(AtomicFileTest, GivesTheModeAskedForAndCreatesWithoutReplacingWhenAsked) {
    const fs::path path = folder / "secret.plist";
    AtomicFile::Options privateFile;
    privateFile.mode = 0600;
    std::string error;
    ASSERT_TRUE(AtomicFile::write(path, "pin", privateFile, &error)) << error;
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    // A file that was readable by all loses that once it carries a secret.
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(AtomicFile::write(path, "pin2", privateFile, &error)) << error;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    AtomicFile::Options copy;
    copy.replace = false;
    EXPECT_FALSE(AtomicFile::write(path, "other", copy, &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    EXPECT_EQ(slurp(path), "pin2");
    ASSERT_TRUE(AtomicFile::write(folder / "copy.plist", "copied", copy, &error)) << error;
    EXPECT_EQ(slurp(folder / "copy.plist"), "copied");
    EXPECT_EQ(entries(), 2u);
}

TEST_F(AtomicFileTest, RemovesOnlyTemporariesWhoseWriterIsGone) {
    const std::string busy = ".list.plist.Ab12Cd.kzpde-tmp", dead = ".list.plist.Zz99Yy.kzpde-tmp",
                      other = ".other.pfj.Qq11Rr.kzpde-tmp";
    EXPECT_TRUE(AtomicFile::isTemporaryName(busy));
    for (const char* name : {"list.plist", ".list.plist", ".list.plist.kzpde-tmp", "x.Ab12Cd.kzpde-tmp", ".lock"})
        EXPECT_FALSE(AtomicFile::isTemporaryName(name)) << name;
    for (const std::string& name : {busy, dead, other, std::string(".bashrc"), std::string("keep.pfj")})
        std::ofstream(folder / name) << "partial";
    // A writer at work holds its temporary's lock.
    int held = ::open((folder / busy).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    // A write of list.plist sweeps list.plist's own dead temporaries only.
    ASSERT_TRUE(AtomicFile::write(folder / "list.plist", "whole"));
    EXPECT_TRUE(fs::exists(folder / busy));
    EXPECT_FALSE(fs::exists(folder / dead));
    EXPECT_TRUE(fs::exists(folder / other));
    EXPECT_EQ(AtomicFile::removeLeftovers(folder), 1u);
    EXPECT_TRUE(fs::exists(folder / busy));
    ::close(held);
    EXPECT_EQ(AtomicFile::removeLeftovers(folder), 1u);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{".bashrc", "keep.pfj", "list.plist"}));
}

// A child killed at every step of a write in turn: the file is always the
// old or the new one whole, and what a crash leaves is swept by the next write.
TEST_F(AtomicFileTest, AKillAtAnyStepLeavesTheOldOrTheNewFileWhole) {
    const fs::path path = folder / "settings.plist";
    const std::string before(5000, 'o'), after(7000, 'n');
    ASSERT_TRUE(AtomicFile::write(path, before));
    int kills = 0, leftovers = 0;
    for (long step = 1; step < 50; ++step) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            kz::CrashPoint::arm(step);
            ::_exit(AtomicFile::write(path, after) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        std::string now = slurp(path);
        EXPECT_TRUE(now == before || now == after) << "step " << step << ": " << now.size() << " bytes";
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
            EXPECT_EQ(now, after);
            break;
        }
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "step " << step;
        ++kills;
        leftovers += static_cast<int>(entries()) - 1;
        ASSERT_TRUE(AtomicFile::write(path, before));
        EXPECT_EQ(entries(), 1u) << "step " << step;
    }
    // Killed before, inside and after the write, with temporaries left to sweep.
    EXPECT_GE(kills, 3);
    EXPECT_GE(leftovers, 2);
}
