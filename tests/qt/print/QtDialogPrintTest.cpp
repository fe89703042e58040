// kzpde dialog prints to a private CUPS scheduler: a script works the panel
// and a pane in the detailed settings window through the Qt widgets, presses
// Print, and the job arrives carrying those options.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "../../support/CupsTestDaemon.h"
#include "../../support/ToolRun.h"
#include "platform/printing/CupsJob.h"

namespace {

std::string attribute(const kz::Dictionary& attributes, const std::string& name) {
    const kz::Value* value = attributes.find(name);
    return value ? value->stringValue() : std::string();
}

std::string file(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream(path) << text;
    return path;
}

}  // namespace

TEST(QtDialogPrint, AJobArrivesWithWhatTheScriptChoseInTheWindows) {
    CupsTestDaemon* cups = CupsTestDaemon::shared();
    if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
    if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string ppd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";
    ASSERT_TRUE(cups->addQueue("KZ", ppd)) << cups->error();
    ASSERT_TRUE(cups->addQueue("Other", ppd)) << cups->error();
    ASSERT_TRUE(cups->setDefault("Other")) << cups->error();
    const std::string document = file("kz-dialog.txt", "a page\n");
    // The menu starts on the scheduler's default; KZ is chosen in it, so
    // its panel is the one that prints.
    const std::string script = file("print.txt",
                                    "choose KZ\n"
                                    "choose \"Top Left\"\n"
                                    "press \"Show Detailed Settings\"\n"
                                    "choose Landscape\n"
                                    "press Setting\n"
                                    "type 3\n"  // after the copies' 1
                                    "press Print\n");
    ToolRun r = runKzpde("dialog --script " + script + " " + document, true);
    ASSERT_EQ(r.status, 0) << r.out;
    std::smatch job;
    ASSERT_TRUE(std::regex_search(r.out, job, std::regex("\njob ([0-9]+) on KZ\n"))) << r.out;
    const int id = std::stoi(job[1].str());

    std::string error;
    auto attributes = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, id, &error);
    ASSERT_TRUE(attributes) << error << "\n" << cups->errorLog();
    EXPECT_NE(attribute(*attributes, "job-printer-uri").find("/printers/KZ"), std::string::npos);
    EXPECT_EQ(attribute(*attributes, "StapleMode"), "TopLeftCorner");
    EXPECT_EQ(attribute(*attributes, "job-name"), "kz-dialog.txt");
    EXPECT_EQ(attribute(*attributes, "copies"), "13");
    bool landscape = false;
    for (const auto& [name, value] : *attributes) landscape = landscape || value.stringValue() == "Landscape";
    EXPECT_TRUE(landscape) << r.out;
}

// An application's print command pipes the document into the dialog: the
// job carries the panel's options and the name `lp` gives such a job.
TEST(QtDialogPrint, ADocumentOnStandardInputIsPrintedFromTheDialog) {
    CupsTestDaemon* cups = CupsTestDaemon::shared();
    if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
    if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string ppd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";
    ASSERT_TRUE(cups->addQueue("KZPiped", ppd)) << cups->error();
    const std::string document = file("kz-piped.ps", "%!PS-Adobe-3.0\nshowpage\n");
    const std::string script = file("piped.txt", "choose \"Top Left\"\npress Print\n");
    ToolRun r = runKzpde("dialog --printer KZPiped --script " + script + " - < " + document, true);
    ASSERT_EQ(r.status, 0) << r.out;
    std::smatch job;
    ASSERT_TRUE(std::regex_search(r.out, job, std::regex("\njob ([0-9]+) on KZPiped\n"))) << r.out;
    std::string error;
    auto attributes = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, std::stoi(job[1].str()), &error);
    ASSERT_TRUE(attributes) << error;
    EXPECT_EQ(attribute(*attributes, "job-name"), "(stdin)");
    EXPECT_EQ(attribute(*attributes, "StapleMode"), "TopLeftCorner");

    // Anything else is refused before a window opens.
    ToolRun refused = runKzpde("dialog --printer KZPiped - < " + file("kz-piped.txt", "a page\n"), true);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("kzpde dialog: standard input is neither PDF nor PostScript"), std::string::npos)
        << refused.out;
}
