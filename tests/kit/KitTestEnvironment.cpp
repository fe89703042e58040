#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// The user's own folders already point into a temporary folder (every test
// binary does that); the kit tests also hide the installed icon themes so the
// drawn stand-ins are what they see unless a test installs a theme itself.
namespace {
struct SystemFolders : ::testing::Environment {
    std::filesystem::path root;
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("kz-kit-system-" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        ::setenv("XDG_DATA_DIRS", root.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};
const auto* const kFolders = ::testing::AddGlobalTestEnvironment(new SystemFolders);
}  // namespace
