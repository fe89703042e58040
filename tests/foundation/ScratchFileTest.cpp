#include "platform/foundation/ScratchFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

// Readers reach the file by its path while it lives; no name of it is ever
// in the temporary folder, so a killed process leaves nothing there.
TEST(ScratchFileTest, IsReadByPathAndLeavesNothingBehindEvenWhenKilled) {
    fs::path folder = fs::path(testing::TempDir()) / ("scratch-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const char* old = std::getenv("TMPDIR");
    std::string saved = old ? old : "";
    ::setenv("TMPDIR", folder.c_str(), 1);
    {
        kz::ScratchFile file;
        ASSERT_TRUE(file.valid());
        ASSERT_TRUE(file.write("a long first text"));
        ASSERT_TRUE(file.write("short"));
        EXPECT_EQ(slurp(file.path()), "short");
        EXPECT_TRUE(fs::is_empty(folder));
    }
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        kz::ScratchFile file;
        file.write("ppd");
        ::kill(::getpid(), SIGKILL);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(fs::is_empty(folder));
    if (old) ::setenv("TMPDIR", saved.c_str(), 1);
    else ::unsetenv("TMPDIR");
    fs::remove_all(folder);
}

// A stream spooled in pieces reads back whole, and a later write replaces
// all of it rather than the first bytes only.
TEST(ScratchFileTest, AppendsPiecesAfterWhatIsThere) {
    kz::ScratchFile file;
    ASSERT_TRUE(file.valid());
    ASSERT_TRUE(file.append("%PDF-"));
    ASSERT_TRUE(file.append(std::string(70000, 'x')));
    ASSERT_TRUE(file.append("end"));
    EXPECT_EQ(file.size(), 5u + 70000u + 3u);
    const std::string read = slurp(file.path());
    EXPECT_EQ(read.substr(0, 5), "%PDF-");
    EXPECT_EQ(read.substr(read.size() - 3), "end");
    ASSERT_TRUE(file.write("new"));
    EXPECT_EQ(slurp(file.path()), "new");
    EXPECT_EQ(file.size(), 3u);
}
