#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Every kit test writes its saved window frames, trash and icons below a
// fresh temporary folder, never into the user's own.
namespace {
struct UserFolders : ::testing::Environment {
    std::filesystem::path root;
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("kz-kit-" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "config");
        std::filesystem::create_directories(root / "data");
        std::filesystem::create_directories(root / "system");
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
};
const auto* const kFolders = ::testing::AddGlobalTestEnvironment(new UserFolders);
}  // namespace
