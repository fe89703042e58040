// The list subcommands of the tool, run as the user runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "PrintServiceSimulator.h"
#include "SamplePrinter.h"
#include "platform/foundation/PropertyList.h"

namespace {

const std::string kTool = KZ_BINARY_DIR "/apps/kzpde/kzpde";

std::string run(const std::string& command, int* status) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; p && (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    *status = p ? pclose(p) : -1;
    return out;
}

bool haveTool() { return std::ifstream(kTool).good(); }

}  // namespace

TEST(ListCommands, EmbeddedListsComeBackUnchanged) {
    if (!haveTool()) GTEST_SKIP() << "kzpde not built";
    const std::string samples = KZ_SOURCE_DIR "/resources/samples";
    const std::string out = testing::TempDir() + "kz-lists.ppd";
    int status = 0;
    run(kTool + " ppd embed-lists " + samples + "/kz-sample-printer.ppd " + samples + "/server-lists.plist -o " + out,
        &status);
    ASSERT_EQ(status, 0);
    kz::Value expected = kz::PropertyList::readFile(samples + "/server-lists.plist");
    kz::Value got = kz::PropertyList::read(run(kTool + " ppd lists " + out, &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(got, expected);
    kz::Value one = kz::PropertyList::read(run(kTool + " ppd lists " + out + " JobFolder", &status));
    EXPECT_EQ(one, expected.dictionary().get("JobFolder"));
    run(kTool + " ppd lists " + out + " CalibFileX 2>/dev/null", &status);
    EXPECT_NE(status, 0);
    std::remove(out.c_str());
}

TEST(ListCommands, ServerListsPrintsTheRowsOfTheService) {
    if (!haveTool()) GTEST_SKIP() << "kzpde not built";
    kztest::PrintServiceSimulator server(kztest::samplePrinter());
    int status = 0;
    kz::Value lists = kz::PropertyList::read(run(kTool + " server lists --host 127.0.0.1 --port " +
                                                     std::to_string(server.port()) +
                                                     " --list FeederInfoList --list JobResource-FORM",
                                                 &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lists, kz::Value(kz::Dictionary{
                         {"FeederInfoList", kz::Array{kz::Array{"1", "Number"}, kz::Array{"2", "Number"},
                                                      kz::Array{"5", "Number"}}},
                         {"JobResource-FORM", kz::Array{kz::Array{"Letterhead", "company form", "2026-01-02T03:04:05"}}}}));
    run(kTool + " server lists --host 127.0.0.1 --list Nothing 2>/dev/null", &status);
    EXPECT_NE(status, 0);
}

// One shape from the server to the panel: the lists a PPD carries are the
// facade's rows as `kzpde server lists` prints them, for the sample lists
// (made from the simulator's sample printer) and for the product PPD (made
// from the product's printer).
TEST(ListCommands, StoredListsAreTheRowsTheServiceGives) {
    if (!haveTool()) GTEST_SKIP() << "kzpde not built";
    const std::string samples = KZ_SOURCE_DIR "/resources/samples";
    const std::pair<std::string, std::string> cases[] = {
        {samples + "/print-server-printer.plist", samples + "/server-lists.plist"},
        {samples + "/kz-product-printer.plist", ""},
    };
    for (const auto& [printer, stored] : cases) {
        kztest::PrintServiceSimulator server(kztest::PrintServiceSimulator::readPrinter(printer));
        int status = 0;
        kz::Value fetched = kz::PropertyList::read(
            run(kTool + " server lists --host 127.0.0.1 --port " + std::to_string(server.port()), &status));
        ASSERT_EQ(status, 0);
        ASSERT_TRUE(fetched.isDictionary());
        for (const auto& [name, rows] : fetched.dictionary())
            for (const kz::Value& row : rows.array()) {
                ASSERT_TRUE(row.isArray()) << name;
                for (const kz::Value& cell : row.array()) EXPECT_TRUE(cell.isString()) << name;
            }
        kz::Value carried = stored.empty()
                                ? kz::PropertyList::read(run(kTool + " ppd lists " KZ_SOURCE_DIR
                                                                     "/resources/bundle/Contents/Resources/KZPrintServer.ppd",
                                                             &status))
                                : kz::PropertyList::readFile(stored);
        EXPECT_EQ(carried, fetched) << printer;
    }
}
