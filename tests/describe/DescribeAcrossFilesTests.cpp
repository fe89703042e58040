// describe lint and simulate over a plug-in whose panel and panes share one
// registry: a rule in one file may act on an option of another.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <string>

#include "../support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

void write(const fs::path& path, const std::string& body) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" << body
                        << "\n</plist>\n";
}

std::string check(const std::string& key, const std::string& extra = "") {
    return "<key>" + key + "</key><dict><key>mainKeyword</key><string>" + key +
           "</string><key>control_type</key><string>CheckBox</string><key>choices</key><array>"
           "<dict><key>choice</key><string>True</string><key>text</key><string>On</string></dict>"
           "<dict><key>choice</key><string>False</string><key>text</key><string>Off</string></dict></array>"
           "<key>default</key><string>False</string>" +
           extra + "</dict>";
}

// A plug-in whose main file has "Secure"; its pane's "Save" is disabled while
// "Secure" is on, and the pane's "Mail" names an option nobody edits.
class AcrossFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("kz-across-" + std::to_string(::getpid()));
        fs::remove_all(root);
        plugIn = root / "P.plugin";
        write(plugIn / "Contents/Info.plist", "<dict><key>VLPOD</key><string>Main</string></dict>");
        mainFile = plugIn / "Contents/Resources/Main.plist";
        write(mainFile, "<dict>" +
                            check("Secure", "<key>condition</key><dict><key>True</key><dict><key>Save</key><false/>"
                                            "</dict><key>False</key><dict><key>Save</key><true/></dict></dict>") +
                            "</dict>");
        pane = plugIn / "Contents/PlugIns/Spool.bundle/Contents/Resources/UI.plist";
        write(pane, "<dict>" +
                        check("Save", "<key>conflict</key><dict><key>True</key><dict><key>Secure</key><dict>"
                                      "<key>True</key><dict><key>restore</key><string>False</string></dict>"
                                      "</dict></dict></dict>") +
                        "</dict>");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root, plugIn, mainFile, pane;
};

}  // namespace

TEST_F(AcrossFiles, LintCountsTheOptionsOfEveryFileOfThePlugIn) {
    // In the plug-in the pane's rule names the panel's option: clean.
    ToolRun inside = runKzpde("describe lint " + pane.string());
    EXPECT_EQ(inside.status, 0) << inside.out;
    EXPECT_EQ(runKzpde("describe lint " + mainFile.string()).status, 0);

    // The same file on its own names an option nobody edits.
    fs::path alone = root / "alone/UI.plist";
    fs::create_directories(alone.parent_path());
    fs::copy_file(pane, alone);
    ToolRun r = runKzpde("describe lint " + alone.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(alone.string() + ": Save: \"conflict\" names \"Secure\""), std::string::npos) << r.out;
    // --with brings the other file's options in.
    EXPECT_EQ(runKzpde("describe lint " + alone.string() + " --with " + mainFile.string()).status, 0);
    ToolRun missing = runKzpde("describe lint " + alone.string() + " --with " + (root / "none.plist").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find((root / "none.plist").string() + ": "), std::string::npos);
    EXPECT_EQ(runKzpde("describe lint " + alone.string() + " --with").status, 2);
}

TEST_F(AcrossFiles, LintStillReportsAnOptionNoFileOfThePlugInEdits) {
    write(pane, "<dict>" +
                    check("Save", "<key>hide</key><dict><key>True</key><dict><key>Nobody</key><true/></dict></dict>") +
                    "</dict>");
    ToolRun r = runKzpde("describe lint " + pane.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(": Save: \"hide\" names \"Nobody\""), std::string::npos) << r.out;
    // The stand-ins for the other files' options never show in a report.
    EXPECT_EQ(r.out.find("elsewhere"), std::string::npos) << r.out;
}

TEST_F(AcrossFiles, SimulateRunsTheRulesBetweenFilesInOneRegistry) {
    ToolRun r = runKzpde("describe simulate " + mainFile.string() + " --with " + pane.string() +
                         " --set Secure=True --json");
    ASSERT_EQ(r.status, 0);
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["enabled"]["Save"], false);  // the main file's condition on the pane's option

    r = runKzpde("describe simulate " + mainFile.string() + " --with " + pane.string() +
                 " --set Secure=True --set Save=True --answer yes --json");
    j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["dialogs"].size(), 1u);  // the pane's conflict on the main file's option
    EXPECT_EQ(j["values"]["Secure"], "False");
    EXPECT_EQ(j["values"]["Save"], "True");

    EXPECT_EQ(runKzpde("describe simulate " + mainFile.string() + " --set Save=True").status, 1);
    EXPECT_EQ(runKzpde("describe simulate " + mainFile.string() + " --with " + (root / "x.plist").string()).status, 1);
    EXPECT_EQ(runKzpde("describe simulate " + mainFile.string() + " --with").status, 2);
}
