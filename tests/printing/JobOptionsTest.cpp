#include <gtest/gtest.h>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <memory>

#include "platform/foundation/Bundle.h"
#include "platform/printing/JobOptions.h"
#include "platform/printing/MemoryPrinter.h"

// libcups marks its PPD interface deprecated; the PPD is still how the host
// describes its printer and holds the marked choices.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

using namespace kz;
using Kind = JobOptions::Kind;

const std::string kProductPPD = KZ_SOURCE_DIR "/resources/bundle/Contents/Resources/KZPrintServer.ppd";
constexpr const char* kJobNameKey = "com.example.print.PrintSettingsTicket.JobName";
constexpr const char* kMailKey = "com.example.print.PrintSettingsTicket.MailAddress";

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using Ppd = std::unique_ptr<ppd_file_t, PpdCloser>;

Ppd openMarked(const std::string& path) {
    Ppd ppd(ppdOpenFile(path.c_str()));
    if (ppd) ppdMarkDefaults(ppd.get());
    return ppd;
}

std::vector<std::string> names(const JobOptions& options) {
    std::vector<std::string> out;
    for (const auto& option : options.options()) out.push_back(option.name);
    return out;
}

TEST(JobOptions, MarkedChoicesCustomEntriesAndHostKeysInTheirOrder) {
    Ppd ppd = openMarked(kProductPPD);
    ASSERT_TRUE(ppd);
    ppdMarkOption(ppd.get(), "StapleMode", "TopLeftCorner");
    ppdMarkOption(ppd.get(), "OffsetMode", "None");  // the default: not sent
    ppdMarkOption(ppd.get(), "VLInputSlot", "Tray1");
    ppdMarkOption(ppd.get(), "Collate", "False");

    PrintSettings settings;
    settings.setValue(kMailKey, Value("a%x2Cb@example.com"));
    settings.setValue(kJobNameKey, Value("100%x25 it%x27s"));
    settings.setValue("com.example.other.Key", Value("not a custom entry"));
    settings.setValue("VLInputSlot", Value("Tray2"));
    settings.setValue(PrintSettings::kCopiesKey, Value(3));
    settings.setValue(PrintSettings::kCollateKey, Value(true));
    settings.setValue(PrintSettings::kDuplexKey, Value(PrintSettings::kDuplexTumble));

    JobOptions options = JobOptions::make(settings, ppd.get());
    EXPECT_EQ(names(options), (std::vector<std::string>{"StapleMode", "VLInputSlot", "Collate", kMailKey, kJobNameKey,
                                                        "copies", "sides"}));
    EXPECT_EQ(*options.find("StapleMode"), (JobOptions::Option{"StapleMode", "TopLeftCorner", Kind::typed}));
    // The print settings' slot and the host's collate win over the marks.
    EXPECT_EQ(*options.find("VLInputSlot"), (JobOptions::Option{"VLInputSlot", "Tray2", Kind::text}));
    EXPECT_EQ(options.find("Collate")->value, "True");
    // Escaped texts go as they are stored.
    EXPECT_EQ(*options.find(kJobNameKey), (JobOptions::Option{kJobNameKey, "100%x25 it%x27s", Kind::text}));
    EXPECT_EQ(options.find("copies")->value, "3");
    EXPECT_EQ(options.find("sides")->value, "two-sided-short-edge");
    EXPECT_EQ(options.find("OffsetMode"), nullptr);
}

TEST(JobOptions, HostDefaultsAndEveryDuplexMode) {
    PrintSettings settings;
    JobOptions plain = JobOptions::make(settings, nullptr);
    EXPECT_EQ(plain.toString(), "copies=1 Collate=True sides=one-sided");

    const std::pair<int, const char*> modes[] = {{PrintSettings::kDuplexNone, "one-sided"},
                                                 {PrintSettings::kDuplexNoTumble, "two-sided-long-edge"},
                                                 {PrintSettings::kDuplexTumble, "two-sided-short-edge"},
                                                 {PrintSettings::kSimplexTumble, "one-sided"}};
    for (auto [mode, sides] : modes) {
        settings.setValue(PrintSettings::kDuplexKey, Value(mode));
        settings.setValue(PrintSettings::kCollateKey, Value(false));
        JobOptions options = JobOptions::make(settings, nullptr);
        EXPECT_EQ(options.find("sides")->value, sides) << mode;
        EXPECT_EQ(options.find("Collate")->value, "False");
    }
}

TEST(JobOptions, ACustomPageSizeCarriesItsSize) {
    // A PPD of the test's own: the product PPD has no custom options.
    std::string path = std::string(::testing::TempDir()) + "/custom.ppd";
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_TRUE(file);
    std::fputs("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
               "*LanguageEncoding: ISOLatin1\n*PCFileName: \"T.PPD\"\n*Manufacturer: \"T\"\n*Product: \"(T)\"\n"
               "*ModelName: \"T\"\n*ShortNickName: \"T\"\n*NickName: \"T\"\n*PSVersion: \"(3010) 0\"\n"
               "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n*PageSize A4: \"\"\n*CloseUI: *PageSize\n"
               "*VariablePaperSize: True\n*MaxMediaWidth: \"1000\"\n*MaxMediaHeight: \"1000\"\n"
               "*HWMargins: 0 0 0 0\n*CustomPageSize True: \"\"\n"
               "*ParamCustomPageSize Width: 1 points 10 1000\n*ParamCustomPageSize Height: 2 points 10 1000\n"
               "*ParamCustomPageSize WidthOffset: 3 points 0 0\n*ParamCustomPageSize HeightOffset: 4 points 0 0\n"
               "*ParamCustomPageSize Orientation: 5 int 0 0\n"
               "*OpenUI *Stamp: PickOne\n*DefaultStamp: None\n*Stamp None: \"\"\n*CloseUI: *Stamp\n"
               "*CustomStamp True: \"\"\n*ParamCustomStamp Text: 1 string 0 40\n",
               file);
    std::fclose(file);
    Ppd ppd = openMarked(path);
    ASSERT_TRUE(ppd) << ppdErrorString(ppdLastError(nullptr));
    ppdMarkOption(ppd.get(), "PageSize", "Custom.200x300");
    ppdMarkOption(ppd.get(), "Stamp", "Custom.Draft");

    JobOptions options = JobOptions::make(PrintSettings(), ppd.get());
    ASSERT_NE(options.find("PageSize"), nullptr);
    EXPECT_EQ(options.find("PageSize")->value, "Custom.200x300");
    ASSERT_NE(options.find("Stamp"), nullptr);
    EXPECT_EQ(options.find("Stamp")->value, "Custom.Draft");
}

TEST(JobOptions, TextValuesReadBackIntactFromTheOptionLine) {
    JobOptions options;
    const std::string tricky = "100%, it's \"done\" \\ {x}";
    options.set("com.example.print.PrintSettingsTicket.Note", tricky, Kind::text);
    options.set("empty", "", Kind::text);
    options.set("StapleMode", "TopLeftCorner", Kind::typed);

    cups_option_t* parsed = nullptr;
    int count = cupsParseOptions(options.toString().c_str(), 0, &parsed);
    EXPECT_EQ(count, 3);
    const char* note = cupsGetOption("com.example.print.PrintSettingsTicket.Note", count, parsed);
    ASSERT_TRUE(note) << options.toString();
    EXPECT_EQ(std::string(note), tricky);
    EXPECT_STREQ(cupsGetOption("empty", count, parsed), "");
    EXPECT_STREQ(cupsGetOption("StapleMode", count, parsed), "TopLeftCorner");
    cupsFreeOptions(count, parsed);
}

TEST(JobOptions, TextValuesBecomeOneNameOrTextAttribute) {
    JobOptions options;
    options.set("a", "True", Kind::text);
    options.set("b", "{x=y}", Kind::text);
    options.set("c", "a,b", Kind::text);
    options.set("d", std::string(300, 'x'), Kind::text);
    options.set("copies", "2", Kind::typed);
    options.set("Collate", "False", Kind::typed);
    ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
    options.addTo(request);
    auto tag = [&](const char* name) { return ippGetValueTag(ippFindAttribute(request, name, IPP_TAG_ZERO)); };
    EXPECT_EQ(tag("a"), IPP_TAG_NAME);
    EXPECT_EQ(tag("b"), IPP_TAG_NAME);
    EXPECT_EQ(ippGetCount(ippFindAttribute(request, "c", IPP_TAG_ZERO)), 1);
    EXPECT_EQ(tag("d"), IPP_TAG_TEXT);
    EXPECT_EQ(tag("copies"), IPP_TAG_INTEGER);
    EXPECT_EQ(tag("Collate"), IPP_TAG_BOOLEAN);
    ippDelete(request);
}

TEST(JobOptions, TheSecurePrintPasswordGoesOnlyAsTheJobPassword) {
    PrintSettings settings;
    settings.setValue("com.example.print.PrintSettingsTicket.SecurityPrintPassword", Value("ZW5jb2RlZA%x2C=="));
    settings.setValue("com.example.print.PrintSettingsTicket.SecurityPrint", Value("True"));
    JobOptions options = JobOptions::make(settings, nullptr);
    const auto* password = options.find(JobOptions::kPasswordOption);
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(password->kind, Kind::password);
    EXPECT_EQ(password->value, "ZW5jb2RlZA%x2C==");  // what the panel encoded, untouched
    EXPECT_EQ(options.find("com.example.print.PrintSettingsTicket.SecurityPrintPassword"), nullptr);

    ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
    options.addTo(request);
    // The operation group comes before the job group, or the scheduler
    // refuses the request.
    ipp_tag_t group = IPP_TAG_ZERO;
    for (ipp_attribute_t* a = ippFirstAttribute(request); a; a = ippNextAttribute(request)) {
        EXPECT_GE(ippGetGroupTag(a), group) << ippGetName(a);
        group = ippGetGroupTag(a);
    }
    ipp_attribute_t* sent = ippFindAttribute(request, "job-password", IPP_TAG_STRING);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(ippGetGroupTag(sent), IPP_TAG_OPERATION);
    int length = 0;
    const void* bytes = ippGetOctetString(sent, 0, &length);
    EXPECT_EQ(std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(length)), "ZW5jb2RlZA%x2C==");
    ippDelete(request);

    // An empty field sends no password at all.
    settings.setValue("com.example.print.PrintSettingsTicket.SecurityPrintPassword", Value(""));
    EXPECT_EQ(JobOptions::make(settings, nullptr).find(JobOptions::kPasswordOption), nullptr);
}

TEST(MemoryPrinter, TheSamplePrinterUsesTheProductPPD) {
    auto bundle = Bundle::open(KZ_SOURCE_DIR "/resources/bundle");
    ASSERT_TRUE(bundle);
    auto sample = MemoryPrinter::sample(*bundle);
    ASSERT_TRUE(sample->ppdPath());
    Ppd ppd(ppdOpenFile(sample->ppdPath()->c_str()));
    ASSERT_TRUE(ppd);
    EXPECT_STREQ(ppd->modelname, "KZ Print Server");
    ASSERT_TRUE(sample->deviceURI());
    char scheme[32], user[64], host[256], resource[256];
    int port = 0;
    ASSERT_GE(httpSeparateURI(HTTP_URI_CODING_ALL, sample->deviceURI()->c_str(), scheme, sizeof scheme, user,
                              sizeof user, host, sizeof host, &port, resource, sizeof resource),
              HTTP_URI_STATUS_OK);
    EXPECT_EQ(std::string(host).rfind("v1.", 0), 0u) << host;

    auto empty = Bundle::open(KZ_TEST_DATA "/foundation");
    ASSERT_TRUE(empty);
    EXPECT_FALSE(MemoryPrinter::sample(*empty)->ppdPath());
}

}  // namespace
