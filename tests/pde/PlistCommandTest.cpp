#include <gtest/gtest.h>

#include <string>

#include "../support/ToolRun.h"

TEST(PlistCommand, JsonKeepsUnsignedIntegersExact) {
    for (const char* name : {"integers.xml", "integers.bplist"}) {
        ToolRun run = runKzpde("plist --json " + std::string(KZ_TEST_DATA) + "/foundation/" + name);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out,
                  "{\n"
                  "  \"max\": 18446744073709551615,\n"
                  "  \"above\": 9223372036854775808,\n"
                  "  \"signedMax\": 9223372036854775807,\n"
                  "  \"minusOne\": -1,\n"
                  "  \"signedMin\": -9223372036854775808\n"
                  "}\n")
            << name;
    }
}
