#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/printing/MemoryPrinter.h"
#include "platform/printing/PrintingCalls.h"

namespace {

using namespace kz;

TEST(PrintingCalls, MissingObjectsAndKeysHaveTheirOwnStatuses) {
    Value value;
    EXPECT_EQ(PMPrintSettingsGetValue(nullptr, "k", &value), kParamErr);
    EXPECT_EQ(PMPrintSettingsSetValue(nullptr, "k", Value("v")), kParamErr);
    bool collate = false;
    EXPECT_EQ(PMGetCollate(nullptr, &collate), kParamErr);
    int mode = 0;
    EXPECT_EQ(PMGetDuplex(nullptr, &mode), kParamErr);

    PrintSettings settings;
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, "missing", &value), kPMKeyNotFound);
    ASSERT_EQ(PMPrintSettingsSetValue(&settings, "k", Value("v")), kNoErr);
    ASSERT_EQ(PMPrintSettingsGetValue(&settings, "k", &value), kNoErr);
    EXPECT_EQ(value.string(), "v");
    // Writing no value removes the key.
    ASSERT_EQ(PMPrintSettingsSetValue(&settings, "k", Value()), kNoErr);
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, "k", &value), kPMKeyNotFound);
}

TEST(PrintingCalls, CollateAndDuplexDefaultAndRoundTrip) {
    PrintSettings settings;
    bool collate = false;
    int mode = 0;
    ASSERT_EQ(PMGetCollate(&settings, &collate), kNoErr);
    EXPECT_TRUE(collate);
    ASSERT_EQ(PMGetDuplex(&settings, &mode), kNoErr);
    EXPECT_EQ(mode, PrintSettings::kDuplexNone);

    ASSERT_EQ(PMSetCollate(&settings, false), kNoErr);
    ASSERT_EQ(PMSetDuplex(&settings, PrintSettings::kDuplexTumble), kNoErr);
    EXPECT_EQ(PMSetDuplex(&settings, 5), kParamErr);
    ASSERT_EQ(PMGetCollate(&settings, &collate), kNoErr);
    ASSERT_EQ(PMGetDuplex(&settings, &mode), kNoErr);
    EXPECT_FALSE(collate);
    EXPECT_EQ(mode, PrintSettings::kDuplexTumble);
}

TEST(PrintingCalls, SessionPrinterAndDeviceAddress) {
    std::shared_ptr<Printer> printer;
    PrintSession empty;
    EXPECT_EQ(PMSessionGetCurrentPrinter(&empty, &printer), kParamErr);

    auto memory = std::make_shared<MemoryPrinter>("Sample", "ipp://v1.a+b/q", std::nullopt);
    PrintSession session(memory);
    ASSERT_EQ(PMSessionGetCurrentPrinter(&session, &printer), kNoErr);
    std::string uri;
    ASSERT_EQ(PMPrinterCopyDeviceURI(printer.get(), &uri), kNoErr);
    EXPECT_EQ(uri, "ipp://v1.a+b/q");
    EXPECT_EQ(PMPrinterSendCommand(printer.get(), "ReportLevels", "Font", nullptr), kNoErr);
    ASSERT_EQ(memory->commands().size(), 1u);
    EXPECT_EQ(memory->commands()[0].jobTitle, "Font");

    MemoryPrinter noDevice("Plain", std::nullopt, std::nullopt);
    EXPECT_EQ(PMPrinterCopyDeviceURI(&noDevice, &uri), kPMKeyNotFound);
}

TEST(PrintSettings, CustomEntryKeysNeedAPrefixAndAKeyword) {
    EXPECT_TRUE(PrintSettings::isCustomEntryKey("com.example.print.PrintSettingsTicket.StapleMode"));
    EXPECT_FALSE(PrintSettings::isCustomEntryKey(".print.PrintSettingsTicket.StapleMode"));
    EXPECT_FALSE(PrintSettings::isCustomEntryKey("com.example.print.PrintSettingsTicket."));
    EXPECT_FALSE(PrintSettings::isCustomEntryKey("VLInputSlot"));
}

class PrintSettingsFile : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kz-settings-" + std::to_string(::getpid()));
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string write(const std::string& name, const std::string& text) {
        auto path = (dir / name).string();
        std::ofstream(path) << text;
        return path;
    }
    static std::string plist(const std::string& body) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n";
    }
};

TEST_F(PrintSettingsFile, WrittenSettingsReadBackWhole) {
    PrintSettings settings;
    settings.setValue("com.example.print.PrintSettingsTicket.JobName", Value("a%x2Cb"));
    settings.setValue(PrintSettings::kCollateKey, Value(false));
    settings.setValue(PrintSettings::kDuplexKey, Value(2));
    auto path = (dir / "s.plist").string();
    std::string error;
    ASSERT_TRUE(settings.writeFile(path, &error)) << error;
    auto back = PrintSettings::readFile(path, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->values(), settings.values());
}

TEST_F(PrintSettingsFile, AHostileFileIsRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(PrintSettings::readFile((dir / "none.plist").string(), &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);

    EXPECT_FALSE(PrintSettings::readFile(write("a.plist", plist("<array/>")), &error));
    EXPECT_NE(error.find("not a dictionary"), std::string::npos);

    EXPECT_FALSE(PrintSettings::readFile(write("b.plist", "<plist><dict><key>a</key>"), &error));
    EXPECT_NE(error.find("not a property list"), std::string::npos);

    // One nested value spoils the whole file: nothing of it is applied.
    EXPECT_FALSE(PrintSettings::readFile(
        write("c.plist", plist("<dict><key>ok</key><string>x</string><key>bad</key><array/></dict>")), &error));
    EXPECT_NE(error.find("\"bad\""), std::string::npos);

    EXPECT_FALSE(PrintSettings::readFile(
        write("d.plist", plist(std::string("<dict><key>") + PrintSettings::kDuplexKey +
                               "</key><integer>9</integer></dict>")),
        &error));
    EXPECT_NE(error.find("duplex"), std::string::npos);

    std::string big(PrintSettings::kMaxFileBytes + 1, ' ');
    EXPECT_FALSE(PrintSettings::readFile(write("e.plist", big), &error));
    EXPECT_NE(error.find("larger"), std::string::npos);
}

TEST_F(PrintSettingsFile, KeysThatWouldSplitAJobOptionAreRefused) {
    std::string error;
    for (const char* key : {"com.example.print.PrintSettingsTicket.a=1", "com.example.print.PrintSettingsTicket.a b",
                            "com.example.print.PrintSettingsTicket.a&#10;copies", "a'b", "a&quot;b"}) {
        auto path = write("k.plist", plist(std::string("<dict><key>") + key + "</key><string>x</string></dict>"));
        EXPECT_FALSE(PrintSettings::readFile(path, &error)) << key;
        EXPECT_NE(error.find("the key"), std::string::npos) << error;
    }
    EXPECT_NE(error.find("a\"b"), std::string::npos) << error;
    auto path = write("n.plist", plist("<dict><key>a&#10;b</key><string>x</string></dict>"));
    EXPECT_FALSE(PrintSettings::readFile(path, &error));
    EXPECT_NE(error.find("a\\x0Ab"), std::string::npos) << error;
    // The seeds of the settings fuzzer: the whole one reads, the others not.
    EXPECT_TRUE(PrintSettings::readFile(KZ_TEST_DATA "/printing/settings.plist", &error)) << error;
    for (const char* name : {"hostile-key", "hostile-nested", "hostile-types"})
        EXPECT_FALSE(PrintSettings::readFile(std::string(KZ_TEST_DATA "/printing/") + name + ".plist")) << name;
}

}  // namespace
