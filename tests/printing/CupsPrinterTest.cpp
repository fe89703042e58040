// The CUPS side of the printing layer against a real, private cupsd.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <filesystem>
#include <fstream>

#include "../support/CupsTestDaemon.h"
#include "platform/printing/CupsDestinations.h"
#include "platform/printing/CupsJob.h"
#include "platform/printing/CupsPrinter.h"
#include "platform/printing/JobOptions.h"

// libcups marks its PPD interface deprecated; the PPD is still how the host
// describes its printer and holds the marked choices.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

using namespace kz;

const std::string kProductPPD = KZ_SOURCE_DIR "/resources/bundle/Contents/Resources/KZPrintServer.ppd";
constexpr const char* kQueue = "KZTest";

class CupsPrinterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CupsTestDaemon* cups = CupsTestDaemon::shared();
        if (!cups->running()) return;
        // Once per process: the queues outlive each test.
        ready = cups->addQueue(kQueue, kProductPPD) &&
                cups->run({"lpadmin", "-p", "Plain", "-E", "-v", "file:/dev/null", "-D", "No PPD"}) == 0 &&
                cups->addInstance(kQueue, "Draft", {{"StapleMode", "TopLeftCorner"}, {"Fold", "Bifold"}}) &&
                cups->setDefault(kQueue);
        if (!ready) setupError = cups->error();
    }
    void SetUp() override {
        CupsTestDaemon* cups = CupsTestDaemon::shared();
        if (!cups->running()) GTEST_SKIP() << "no private cupsd for this test: " << cups->error();
        ASSERT_TRUE(ready) << setupError << "\n" << cups->errorLog();
    }
    std::string document() {
        std::string path = CupsTestDaemon::shared()->folder() + "/doc.txt";
        std::ofstream(path) << "hello\n";
        return path;
    }
    static inline bool ready = false;
    static inline std::string setupError;
};

TEST_F(CupsPrinterTest, DestinationsListQueuesAndInstances) {
    auto destinations = CupsDestinations::list();
    std::vector<std::string> names;
    for (const auto& d : destinations) names.push_back(d.fullName());
    EXPECT_EQ(names, (std::vector<std::string>{"KZTest", "KZTest/Draft", "Plain"}));
    ASSERT_EQ(destinations.size(), 3u);
    EXPECT_TRUE(destinations[0].isDefault);
    EXPECT_FALSE(destinations[2].isDefault);
    EXPECT_EQ(destinations[1].instance, "Draft");
    EXPECT_EQ(destinations[0].deviceURI, "file:/dev/null");
    EXPECT_EQ(destinations[2].info, "No PPD");
}

TEST_F(CupsPrinterTest, APrinterHasItsDeviceAndAPrivatePPD) {
    std::string ppdPath;
    {
        std::string error;
        auto printer = CupsPrinter::open("KZTest/Draft", CUPS_HTTP_DEFAULT, &error);
        ASSERT_TRUE(printer) << error;
        EXPECT_EQ(printer->name(), "KZTest/Draft");
        EXPECT_EQ(printer->queue(), "KZTest");
        EXPECT_EQ(printer->deviceURI(), "file:/dev/null");
        ASSERT_TRUE(printer->ppdPath());
        ppdPath = *printer->ppdPath();
        ppd_file_t* ppd = ppdOpenFile(ppdPath.c_str());
        ASSERT_TRUE(ppd);
        EXPECT_STREQ(ppd->modelname, "KZ Print Server");
        ppdClose(ppd);
        // The default destination when none is named.
        auto fallback = CupsPrinter::open("");
        ASSERT_TRUE(fallback);
        EXPECT_EQ(fallback->name(), "KZTest");
    }
    std::error_code ec;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(ppdPath, ec))) << "the PPD copy stays behind";

    auto plain = CupsPrinter::open("Plain");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->ppdPath());

    std::string error;
    EXPECT_FALSE(CupsPrinter::open("Missing", CUPS_HTTP_DEFAULT, &error));
    EXPECT_NE(error.find("\"Missing\""), std::string::npos);
}

TEST_F(CupsPrinterTest, AJobArrivesWithExactlyItsOptions) {
    auto printer = CupsPrinter::open(kQueue);
    ASSERT_TRUE(printer && printer->ppdPath());
    ppd_file_t* ppd = ppdOpenFile(printer->ppdPath()->c_str());
    ASSERT_TRUE(ppd);
    ppdMarkDefaults(ppd);
    ppdMarkOption(ppd, "StapleMode", "TopLeftCorner");
    ppdMarkOption(ppd, "OutputTray", "Stackertray");

    const std::string jobNameKey = "com.example.print.PrintSettingsTicket.JobName";
    const std::string noteKey = "com.example.print.PrintSettingsTicket.Note";
    PrintSettings settings;
    settings.setValue(jobNameKey, Value("100%x25%x2C it%x27s"));
    // Unescaped text too: whatever the panel stored arrives as it is.
    settings.setValue(noteKey, Value("100%, it's {mine} \"quoted\" True"));
    settings.setValue("VLInputSlot", Value("Manual"));
    settings.setValue(PrintSettings::kCopiesKey, Value(2));
    settings.setValue(PrintSettings::kCollateKey, Value(false));
    settings.setValue(PrintSettings::kDuplexKey, Value(PrintSettings::kDuplexNoTumble));
    JobOptions options = JobOptions::make(settings, ppd);
    ppdClose(ppd);

    auto job = printer->print(document(), "Round trip", options);
    ASSERT_TRUE(job) << job.error;
    std::string error;
    auto attributes = CupsJob::attributes(CUPS_HTTP_DEFAULT, job.id, &error);
    ASSERT_TRUE(attributes) << error;
    for (const auto& option : options.options()) {
        const Value* got = attributes->find(option.name);
        ASSERT_TRUE(got) << option.name << " did not arrive";
        if (got->isBoolean()) {
            EXPECT_EQ(got->boolValue() ? "True" : "False", option.value) << option.name;
        } else if (got->isInteger()) {
            EXPECT_EQ(std::to_string(got->integerValue()), option.value) << option.name;
        } else {
            EXPECT_EQ(got->string(), option.value) << option.name;
        }
    }
    EXPECT_EQ(attributes->get(noteKey).string(), "100%, it's {mine} \"quoted\" True");
    EXPECT_EQ(attributes->get("job-name").string(), "Round trip");
    EXPECT_EQ(attributes->get("copies").integerValue(), 2);
    EXPECT_EQ(attributes->get("sides").string(), "two-sided-long-edge");
    EXPECT_FALSE(attributes->get("Collate").boolValue());
    // Marks at their defaults stay at home; nothing of the instance either.
    EXPECT_FALSE(attributes->contains("OffsetMode"));
    EXPECT_FALSE(attributes->contains("Fold"));
}

TEST_F(CupsPrinterTest, AnInstanceAddsItsSavedOptionsUnderTheJobs) {
    auto printer = CupsPrinter::open("KZTest/Draft");
    ASSERT_TRUE(printer);
    JobOptions options;
    options.set("StapleMode", "LeftEdge", JobOptions::Kind::typed);
    auto job = printer->print(document(), "Draft", options);
    ASSERT_TRUE(job) << job.error;
    auto attributes = CupsJob::attributes(CUPS_HTTP_DEFAULT, job.id);
    ASSERT_TRUE(attributes);
    EXPECT_EQ(attributes->get("StapleMode").string(), "LeftEdge");
    EXPECT_EQ(attributes->get("Fold").string(), "Bifold");
    EXPECT_FALSE(attributes->contains("device-uri"));
}

TEST_F(CupsPrinterTest, RefusedJobsAndCommandsReportAnError) {
    auto missing = CupsJob::submit(CUPS_HTTP_DEFAULT, "Missing", document(), "x", JobOptions());
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.error.empty());
    auto noFile = CupsJob::submit(CUPS_HTTP_DEFAULT, kQueue, "/nonexistent/file", "x", JobOptions());
    EXPECT_FALSE(noFile);
    EXPECT_NE(noFile.error.find("cannot open"), std::string::npos);
    EXPECT_FALSE(CupsJob::attributes(CUPS_HTTP_DEFAULT, 99999));

    auto printer = CupsPrinter::open(kQueue);
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->sendCommand("ReportLevels", "DeviceLinkFile", nullptr), kNoErr);
    EXPECT_EQ(printer->sendCommand("Report\nLevels", "x", nullptr), kPMIOErr);
}

}  // namespace
