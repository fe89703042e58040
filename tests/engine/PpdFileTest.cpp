#include "engine/ppd/PpdFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/foundation/Log.h"

// The tests play the host, which holds its own handle through libcups.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

using namespace ComTORVALEKZ2R4_Plugin;

namespace {

std::string data(const char* name) { return std::string(KZ_TEST_DATA) + "/engine/" + name; }

std::unique_ptr<PpdFile> open(const char* name) {
    auto ppd = PpdFileExt::initWithContentsOfFile(data(name));
    EXPECT_TRUE(ppd) << name;
    return ppd;
}

}  // namespace

TEST(PpdFile, DecodesEveryTextByTheDeclaredEncoding) {
    auto latin = open("latin1.ppd");
    EXPECT_EQ(latin->stringEncoding(), kz::Encoding::Windows1252);
    // 0xA5 is the yen sign of ISO 8859-1, in translations and raw texts alike.
    EXPECT_EQ(latin->mainAlias("VLInputSlot"), "Paper ¥ Source");
    EXPECT_EQ(latin->optionAlias("VLInputSlot", "Upper"), "Upper ¥ Tray");
    EXPECT_EQ(latin->product(), "(KZ Printer ¥ Latin)");

    auto japanese = open("japanese.ppd");
    EXPECT_EQ(japanese->stringEncoding(), kz::Encoding::MacJapanese);
    EXPECT_EQ(japanese->mainAlias("VLInputSlot"), "給紙トレイ");
    EXPECT_EQ(japanese->optionAliases("VLInputSlot"),
              (std::vector<std::string>{"上段トレイ", "下段トレイ", "TrayStock"}));
    EXPECT_EQ(japanese->product(), "(KZ プリンタ)");

    auto chinese = open("chinese.ppd");
    EXPECT_EQ(chinese->stringEncoding(), kz::Encoding::MacChineseSimplified);
    EXPECT_EQ(chinese->optionAlias("VLInputSlot", "Lower"), "下纸盒");
    EXPECT_EQ(chinese->product(), "(KZ 打印机)");

    // The same bytes under any other LanguageEncoding are ASCII: the aliases
    // fall back to the choice keywords, the main alias and product are null.
    auto other = open("chinese-other.ppd");
    EXPECT_EQ(other->stringEncoding(), kz::Encoding::ASCII);
    EXPECT_EQ(other->optionAliases("VLInputSlot"), (std::vector<std::string>{"Upper", "Lower", "TrayStock"}));
    EXPECT_FALSE(other->mainAlias("VLInputSlot"));
    EXPECT_FALSE(other->product());

    auto utf8 = open("utf8.ppd");
    EXPECT_EQ(utf8->stringEncoding(), kz::Encoding::UTF8);
    EXPECT_EQ(utf8->mainAlias("Duplex"), "Recto–verso");
    // Invalid bytes give the keyword in place of the alias.
    EXPECT_EQ(utf8->optionAliases("Duplex"), (std::vector<std::string>{"Désactivé", "Second", "Long"}));
}

// Translations as Latin-1 driver PPDs write them: hex escapes and raw bytes.
TEST(PpdFile, Latin1TranslationsReadAsIso8859_1) {
    auto ppd = open("latin1-portuguese.ppd");
    EXPECT_EQ(ppd->optionAlias("Option19", "False"), "Não Instalado");
    EXPECT_EQ(ppd->mainAlias("KZSaturation"), "Saturação");
    EXPECT_EQ(ppd->optionAliases("KZSaturation"),
              (std::vector<std::string>{"Padrão", "Cores vívidas € “ mais"}));
}

TEST(PpdFile, EncodingRulesAreExactAndCaseSensitive) {
    EXPECT_EQ(PpdFile::encodingFor("UTF-8", "English"), kz::Encoding::UTF8);
    EXPECT_EQ(PpdFile::encodingFor("utf-8", "English"), kz::Encoding::ASCII);
    EXPECT_EQ(PpdFile::encodingFor("ISOLatin1", ""), kz::Encoding::Windows1252);
    EXPECT_EQ(PpdFile::encodingFor("isolatin1", ""), kz::Encoding::ASCII);
    EXPECT_EQ(PpdFile::encodingFor("MacStandard", "English"), kz::Encoding::MacRoman);
    EXPECT_EQ(PpdFile::encodingFor("JIS83-RKSJ", "Japanese"), kz::Encoding::MacJapanese);
    EXPECT_EQ(PpdFile::encodingFor("None", "Chinese"), kz::Encoding::MacChineseSimplified);
    EXPECT_EQ(PpdFile::encodingFor("None", "chinese"), kz::Encoding::ASCII);
    EXPECT_EQ(PpdFile::encodingFor("WindowsANSI", "English"), kz::Encoding::Windows1252);
}

TEST(PpdFile, ChoicesDefaultsAndBooleans) {
    auto ppd = open("utf8.ppd");
    EXPECT_TRUE(ppd->isExists("Duplex"));
    EXPECT_FALSE(ppd->isExists("Nothing"));
    EXPECT_TRUE(ppd->isExists("Duplex", "Long"));
    EXPECT_FALSE(ppd->isExists("Duplex", "long"));
    EXPECT_FALSE(ppd->isExists("Nothing", "Long"));
    // Two choices of one keyword: the first one's alias.
    EXPECT_EQ(ppd->optionAlias("Duplex", "None"), "Désactivé");
    EXPECT_FALSE(ppd->optionAlias("Duplex", "Short"));
    EXPECT_EQ(ppd->uiType("Collate"), PpdFile::kBoolean);
    EXPECT_EQ(ppd->uiType("Duplex"), PpdFile::kPickOne);
    EXPECT_EQ(ppd->uiType("Nothing"), 0);

    EXPECT_EQ(ppd->defaultOptionChoice("Collate"), kz::Value(true));
    EXPECT_EQ(ppd->defaultOptionChoice("Sort"), kz::Value(false));  // "true" is not "True"
    EXPECT_EQ(ppd->defaultOptionChoice("VLInputSlot"), kz::Value("Upper"));
    EXPECT_TRUE(ppd->defaultOptionChoice("Nothing").isNull());

    kz::Dictionary defaults = ppd->defaultValueDictionary();
    EXPECT_EQ(defaults.get("VLInputSlot"), kz::Value("Upper"));
    EXPECT_EQ(defaults.get("Collate"), kz::Value(true));
    EXPECT_EQ(defaults.get("Duplex"), kz::Value("None"));
    EXPECT_TRUE(defaults.contains("Staple"));  // from the sub-group
}

TEST(PpdFile, MarkingAndMarkedChoice) {
    auto ppd = open("utf8.ppd");
    ppdMarkDefaults(ppd->handle());
    EXPECT_EQ(ppd->findMarkedChoice("VLInputSlot"), kz::Value("Upper"));
    EXPECT_EQ(ppd->markOption("VLInputSlot", "Lower"), 0);
    EXPECT_EQ(ppd->findMarkedChoice("VLInputSlot"), kz::Value("Lower"));
    EXPECT_EQ(ppd->findMarkedChoice("Collate"), kz::Value(true));
    EXPECT_EQ(ppd->markOption("Staple", "None"), 0);
    EXPECT_EQ(ppd->markOption("Collate", "False"), 0);
    EXPECT_EQ(ppd->findMarkedChoice("Collate"), kz::Value(false));
    EXPECT_GT(ppd->markOption("Staple", "Top"), 0);  // conflicts with Collate False
    EXPECT_EQ(ppd->markOption("", "Top"), 0);
    EXPECT_TRUE(ppd->findMarkedChoice("Nothing").isNull());
}

TEST(PpdFile, KeywordsThatCannotNameAnEntryNeverMatch) {
    auto ppd = open("utf8.ppd");
    std::string longName(41, 'A');
    EXPECT_FALSE(ppd->isExists(longName));
    // A truncated copy must not hit an option that happens to be its prefix.
    EXPECT_FALSE(ppd->isExists("VLInputSlot" + std::string(40, 'x')));
    EXPECT_FALSE(ppd->isExists("Duplex", "Long" + std::string(40, 'x')));
    EXPECT_FALSE(ppd->isExists("Dupl\xc3\xa9x"));
    EXPECT_FALSE(ppd->isExists(std::string("Duplex\0x", 8)));
    EXPECT_FALSE(ppd->optionAlias("Duplex", std::string("Long\0", 5)));
    EXPECT_EQ(ppd->markOption("VLInputSlot", "Lower\xff"), 0);
}

TEST(PpdFile, HostHandleIsNeverClosedAndNullAnswersNothing) {
    ppd_file_t* host = ppdOpenFile(data("japanese.ppd").c_str());
    ASSERT_TRUE(host);
    {
        auto wrapper = PpdFileExt::initWithPpdFile(host);
        EXPECT_FALSE(wrapper->isOpenedBySelf());
        EXPECT_EQ(wrapper->stringEncoding(), kz::Encoding::MacJapanese);
        EXPECT_EQ(wrapper->markOption("VLInputSlot", "Lower"), 0);
    }
    // Still usable (and marked) after the wrapper is gone; asan reports a close.
    EXPECT_STREQ(ppdFindMarkedChoice(host, "VLInputSlot")->choice, "Lower");
    ppdClose(host);

    auto none = PpdFile::initWithPpdFile(nullptr);
    EXPECT_FALSE(none->isExists("VLInputSlot"));
    EXPECT_FALSE(none->optionKeywords("VLInputSlot"));
    EXPECT_TRUE(none->defaultValueDictionary().empty());
    EXPECT_TRUE(none->findMarkedChoice("VLInputSlot").isNull());
    EXPECT_EQ(none->markOption("VLInputSlot", "Lower"), 0);
    EXPECT_FALSE(none->product());

    EXPECT_FALSE(PpdFile::initWithContentsOfFile(data("missing.ppd")));
    EXPECT_FALSE(PpdFile::initWithContentsOfFile(data("")));
    EXPECT_FALSE(PpdFile::initWithContentsOfFile(data("not-a-ppd.ppd")));
}

TEST(PpdFile, RefusedPpdSaysWhyAndWhere) {
    kz::LogCapture log;
    std::string error;
    EXPECT_FALSE(PpdFile::initWithContentsOfFile(data("not-a-ppd.ppd"), &error));
    EXPECT_EQ(error, "Missing asterisk in column 1 on line 1");
    EXPECT_TRUE(log.contains("### ## can't open PPD " + data("not-a-ppd.ppd") + ": " + error));

    // A fault further down is reported with its own line.
    const std::string path = testing::TempDir() + "bad-line.ppd";
    std::ofstream(path) << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*LanguageEncoding: ISOLatin1\n"
                           "*OpenGroup: General/General\n*OpenGroup: Nested/Nested\n";
    EXPECT_FALSE(PpdFile::initWithContentsOfFile(path, &error));
    EXPECT_NE(error.find(" on line 5"), std::string::npos) << error;
    std::remove(path.c_str());

    EXPECT_FALSE(PpdFile::initWithContentsOfFile(data("missing.ppd"), &error));
    EXPECT_EQ(error, "no such file");
}
