#include "platform/foundation/FolderLock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/CrashPoint.h"

namespace fs = std::filesystem;

namespace {

struct FolderLockTest : testing::Test {
    fs::path folder = fs::path(testing::TempDir()) / ("lock-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    // Whether someone holds the folder's lock right now (asked without waiting).
    bool heldElsewhere() const {
        int fd = ::open((folder / kz::FolderLock::kFileName).c_str(), O_RDWR | O_CREAT, 0600);
        bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        return held;
    }
    int counter() const {
        std::ifstream in(folder / "counter");
        int n = 0;
        in >> n;
        return n;
    }
};

}  // namespace

// Two processes each add to a counter file many times, read and write under
// the lock: without it some additions would be lost.
TEST_F(FolderLockTest, TwoProcessesReadingAndWritingUnderTheLockLoseNoUpdate) {
    constexpr int kEach = 60;
    ASSERT_TRUE(kz::AtomicFile::write(folder / "counter", "0"));
    pid_t children[2];
    for (pid_t& child : children) {
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < kEach; ++i) {
                kz::FolderLock lock(folder);
                if (!lock.locked()) ::_exit(2);
                if (!kz::AtomicFile::write(folder / "counter", std::to_string(counter() + 1))) ::_exit(3);
            }
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(counter(), 2 * kEach);
}

TEST_F(FolderLockTest, NestsOnOneThreadAndGoesWithItsHolderEvenAKilledOne) {
    {
        kz::FolderLock outer(folder);
        ASSERT_TRUE(outer.locked()) << outer.error();
        {
            kz::FolderLock inner(folder);  // would wait for itself forever
            EXPECT_TRUE(inner.locked());
        }
        EXPECT_TRUE(heldElsewhere());
    }
    EXPECT_FALSE(heldElsewhere());

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        kz::CrashPoint::arm(1);  // killed as soon as it holds the lock
        kz::FolderLock lock(folder);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(heldElsewhere());

    kz::FolderLock missing(folder / "no such folder");
    EXPECT_FALSE(missing.locked());
    EXPECT_NE(missing.error().find("no such folder"), std::string::npos);
}
