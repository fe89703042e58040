// `kzpde print` to a private CUPS scheduler: the job arrives with the
// options the panel saved, read back from the scheduler over IPP.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "../support/CupsTestDaemon.h"
#include "../support/ToolRun.h"
#include "platform/printing/CupsJob.h"

namespace {

std::string attribute(const kz::Dictionary& attributes, const std::string& name) {
    const kz::Value* value = attributes.find(name);
    return value ? value->stringValue() : std::string();
}

// The attribute that carries the custom entry of the main keyword.
std::string customAttribute(const kz::Dictionary& attributes, const std::string& keyword) {
    const std::string suffix = ".print.PrintSettingsTicket." + keyword;
    for (const auto& [name, value] : attributes)
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return value.stringValue();
    return "";
}

}  // namespace

TEST(PrintCommand, AJobArrivesWithThePanelsOptions) {
    CupsTestDaemon* cups = CupsTestDaemon::shared();
    if (!cups->running()) GTEST_SKIP() << "no private cupsd: " << cups->error();
    const std::string ppd = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd";
    ASSERT_TRUE(cups->addQueue("KZ", ppd)) << cups->error();
    const std::string document = ::testing::TempDir() + "/kz-print.txt";
    std::ofstream(document) << "a page\n";

    const std::string password = "Sesame-42";
    ToolRun r = runKzpde("print " + document + " --printer KZ --set StapleMode=TopLeftCorner --set VLInputSlot=TrayStock"
                         " --set \"StockName=50%,'A4'\" --set SecurityPrint=True --set SecurityPrintPassword=" +
                         password + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find(password), std::string::npos);
    const auto out = nlohmann::json::parse(r.out);
    const int id = out["jobId"].get<int>();
    ASSERT_GT(id, 0);

    std::string error;
    auto attributes = kz::CupsJob::attributes(CUPS_HTTP_DEFAULT, id, &error);
    ASSERT_TRUE(attributes) << error << "\n" << cups->errorLog();
    EXPECT_EQ(attribute(*attributes, "StapleMode"), "TopLeftCorner");
    EXPECT_EQ(customAttribute(*attributes, "StockName"), "50%x25%x2C%x27A4%x27");
    // The password travels as the job's password, which the scheduler
    // keeps for the backend and shows to no one, not even the job's owner.
    EXPECT_EQ(customAttribute(*attributes, "SecurityPrintPassword"), "");
    EXPECT_EQ(attributes->find("job-password"), nullptr);
    for (const auto& [name, value] : *attributes) EXPECT_EQ(value.stringValue().find(password), std::string::npos) << name;
    EXPECT_EQ(attribute(*attributes, "job-name"), "kz-print.txt");
}

TEST(PrintCommand, NeedsAFileAndAQueue) {
    EXPECT_EQ(runKzpde("print").status, 2);
    EXPECT_EQ(runKzpde("print x --ppd y.ppd").status, 2);
    EXPECT_EQ(runKzpde("print /no/such/file").status, 1);
}
