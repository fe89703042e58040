// A file's stamp tells its versions apart without reading it: a rewrite of
// the same size within one second, and a file renamed over it, are other
// versions; looking twice at an untouched file gives one stamp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileStamp.h"

namespace fs = std::filesystem;

TEST(FileStamp, ChangesWithEveryVersionOfTheFileAndOnlyThen) {
    fs::path folder = fs::path(::testing::TempDir()) / ("kz-stamp-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string path = (folder / "favorite.pfj").string();
    EXPECT_FALSE(kz::FileStamp::of(path)) << "nothing to stat";
    EXPECT_FALSE(kz::FileStamp::of(""));

    std::ofstream(path) << "one";
    auto first = kz::FileStamp::of(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(kz::FileStamp::of(path), first);

    // Same size, written again at once: the times (to the nanosecond) or
    // at least the change time tell it apart on file systems that keep them.
    ::usleep(2000);
    std::ofstream(path) << "two";
    auto second = kz::FileStamp::of(path);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->size, first->size);
    EXPECT_NE(second, first);

    // Renamed over the old file: another file.
    std::string error;
    ASSERT_TRUE(kz::AtomicFile::write(path, "six", &error)) << error;
    auto third = kz::FileStamp::of(path);
    ASSERT_TRUE(third);
    EXPECT_NE(third->inode, second->inode);
    fs::remove_all(folder);
}
