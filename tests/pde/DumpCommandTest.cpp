#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {
struct ToolRun {
    int status;
    std::string out;
};

ToolRun kzpde(const std::string& args) {
    std::string command = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde " + args + " 2>/dev/null";
    ToolRun r{0, {}};
    FILE* p = popen(command.c_str(), "r");
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    r.status = WEXITSTATUS(pclose(p));
    return r;
}

const std::string kBundle = std::string(KZ_SOURCE_DIR) + "/resources/bundle";
}  // namespace

TEST(DumpCommand, ShowsABundleDescriptionByNameOrPath) {
    ToolRun byName = kzpde("dump About --bundle " + kBundle);
    EXPECT_EQ(byName.status, 0);
    EXPECT_EQ(byName.out,
              "Quill_AboutPanel [0 0 400 240] title=\"\" hidden\n"
              "  View [0 0 400 240]\n"
              "    ImageView [0 0 400 240]\n"
              "    TextField [20 60 360 20] value=\"\" read-only\n"
              "    TextField [20 30 360 20] value=\"\" read-only\n");
    EXPECT_EQ(kzpde("dump " + kBundle + "/Contents/Resources/About.plist").out, byName.out);
    ToolRun json = kzpde("dump About --json --bundle " + kBundle);
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"details\": \"value=\\\"\\\" read-only\""), std::string::npos) << json.out;
    EXPECT_EQ(kzpde("dump Missing --bundle " + kBundle).status, 1);
    EXPECT_EQ(kzpde("dump " + std::string(KZ_SOURCE_DIR) + "/README.md").status, 1);
    EXPECT_EQ(kzpde("dump").status, 2);
}
