#include <gtest/gtest.h>

#include <string>

#include "../support/ToolRun.h"

TEST(PpdInfoCommand, RefusedPpdGivesLibcupsReasonAndLine) {
    const std::string path = std::string(KZ_TEST_DATA) + "/engine/not-a-ppd.ppd";
    const std::string command = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde ppd info " + path + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string out;
    char buffer[512];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 1);
    EXPECT_EQ(out, "kzpde ppd info: " + path + ": Missing asterisk in column 1 on line 1\n");
}
