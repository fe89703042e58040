#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/FileBytes.h"

using kz::FileBytes;

TEST(FileBytes, ReadsUpToTheLimitAndRefusesWhatIsNotAFileOrTooLarge) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kz-filebytes-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "ten") << "0123456789";
    std::string bytes = "stale";

    EXPECT_EQ(FileBytes::read(folder / "ten", 10, &bytes), FileBytes::Status::ok);
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_EQ(FileBytes::read(folder / "ten", 9, &bytes), FileBytes::Status::tooLarge);
    EXPECT_EQ(bytes, "");  // never half a file
    EXPECT_EQ(FileBytes::read(folder / "none", 10, &bytes), FileBytes::Status::cannotOpen);
    EXPECT_EQ(FileBytes::read(folder, 10, &bytes), FileBytes::Status::cannotRead);
    // A device that never ends is refused after the limit, not read for ever.
    EXPECT_EQ(FileBytes::read("/dev/zero", 100000, &bytes), FileBytes::Status::tooLarge);
    std::filesystem::remove_all(folder);
}
