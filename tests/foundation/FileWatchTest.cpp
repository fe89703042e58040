// A watch answers "may have changed" for every change in the file's folder
// (written, replaced, removed) and "no" while nothing happened; where it
// cannot be trusted (a symbolic link, the folder gone) it answers yes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileWatch.h"

namespace fs = std::filesystem;

namespace {

fs::path freshFolder(const char* name) {
    fs::path folder = fs::path(::testing::TempDir()) / ("kz-watch-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

}  // namespace

TEST(FileWatch, AnswersYesAfterEachChangeOfTheFileAndNoInBetween) {
    fs::path folder = freshFolder("changes");
    const std::string path = (folder / "favorite.pfj").string();
    std::ofstream(path) << "one";
    kz::FileWatch watch(path);
    ASSERT_TRUE(watch.isWatching()) << "the test folder is a local one";
    EXPECT_TRUE(watch.mayHaveChanged()) << "the first question";
    EXPECT_FALSE(watch.mayHaveChanged());
    EXPECT_FALSE(watch.mayHaveChanged());

    std::ofstream(path) << "two";
    EXPECT_TRUE(watch.mayHaveChanged());
    EXPECT_FALSE(watch.mayHaveChanged());
    ASSERT_TRUE(kz::AtomicFile::write(path, "three"));
    EXPECT_TRUE(watch.mayHaveChanged()) << "renamed over it";
    EXPECT_FALSE(watch.mayHaveChanged());
    fs::remove(path);
    EXPECT_TRUE(watch.mayHaveChanged());

    // The folder itself goes: nothing can be told any more.
    fs::remove_all(folder);
    EXPECT_TRUE(watch.mayHaveChanged());
    fs::create_directories(folder);
    std::ofstream(path) << "again";
    EXPECT_TRUE(watch.mayHaveChanged());
    EXPECT_TRUE(watch.mayHaveChanged());
    EXPECT_FALSE(watch.isWatching());
    fs::remove_all(folder);
}

TEST(FileWatch, ALinkOrAFileWithoutFolderIsAlwaysLookedAt) {
    fs::path folder = freshFolder("link");
    fs::path elsewhere = freshFolder("target");
    std::ofstream(elsewhere / "real.pfj") << "x";
    fs::create_symlink(elsewhere / "real.pfj", folder / "link.pfj");
    kz::FileWatch link((folder / "link.pfj").string());
    EXPECT_FALSE(link.isWatching());
    EXPECT_TRUE(link.mayHaveChanged());
    EXPECT_TRUE(link.mayHaveChanged());
    kz::FileWatch bare("favorite.pfj");
    EXPECT_TRUE(bare.mayHaveChanged());
    EXPECT_TRUE(bare.mayHaveChanged());
    fs::remove_all(folder);
    fs::remove_all(elsewhere);
}
