#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Every test process keeps what it saves (favorites, window frames, trash,
// caches) below a fresh temporary folder of its own, never in the user's
// folders. Linked into every test binary; a test that needs other folders
// sets them itself.
namespace {
struct UserFolders : ::testing::Environment {
    std::filesystem::path root;
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("kz-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        for (const char* folder : {"config", "config-dirs", "data", "cache", "state"})
            std::filesystem::create_directories(root / folder);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        // Nor an administrator's shared favorites of this machine (/etc/xdg).
        ::setenv("XDG_CONFIG_DIRS", (root / "config-dirs").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};
const auto* const kFolders = ::testing::AddGlobalTestEnvironment(new UserFolders);
}  // namespace
