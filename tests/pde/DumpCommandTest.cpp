#include <gtest/gtest.h>

#include <string>

#include "../support/ToolRun.h"

namespace {
const std::string kBundle = std::string(KZ_SOURCE_DIR) + "/resources/bundle";
}  // namespace

TEST(DumpCommand, ShowsABundleDescriptionByNameOrPath) {
    ToolRun byName = runKzpde("dump About --bundle " + kBundle);
    EXPECT_EQ(byName.status, 0);
    EXPECT_EQ(byName.out,
              "Quill_AboutPanel [0 0 400 240] title=\"\" hidden\n"
              "  View [0 0 400 240]\n"
              "    ImageView [0 0 400 240]\n"
              "    TextField [20 60 360 20] value=\"\" read-only\n"
              "    TextField [20 30 360 20] value=\"\" read-only\n");
    EXPECT_EQ(runKzpde("dump " + kBundle + "/Contents/Resources/About.plist").out, byName.out);
    ToolRun json = runKzpde("dump About --json --bundle " + kBundle);
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"details\": \"value=\\\"\\\" read-only\""), std::string::npos) << json.out;
    EXPECT_EQ(runKzpde("dump Missing --bundle " + kBundle).status, 1);
    EXPECT_EQ(runKzpde("dump " + std::string(KZ_SOURCE_DIR) + "/README.md").status, 1);
    EXPECT_EQ(runKzpde("dump").status, 2);
}
