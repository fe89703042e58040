#include "engine/conversion/PrintOptionConverter.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/conversion/PasswordTransport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Value.h"

using namespace ComTORVALEKZ2R4_Plugin;
using C = PrintOptionConverter;

namespace {

// Reverses the text; "fail" fails without writing, "half" fails after writing.
class FakeTransport : public PasswordTransport {
public:
    int encode(std::string_view plain, EncDecBuffer& out) override { return run(plain, out); }
    int decode(std::string_view encoded, EncDecBuffer& out) override { return run(encoded, out); }

private:
    int run(std::string_view text, EncDecBuffer& out) {
        if (text == "fail") return 5;
        std::string reversed(text.rbegin(), text.rend());
        std::memcpy(out.data(), reversed.data(), reversed.size());
        return text == "half" ? 5 : 0;
    }
};

class Converter : public ::testing::Test {
protected:
    FakeTransport transport;
    void SetUp() override {
        C::setPasswordTransport(&transport);
        C::setLoginNameForTesting("alice");
    }
    void TearDown() override { C::setPasswordTransport(nullptr); }
};

std::string s(const kz::Dictionary& d, const char* key) { return d.get(key).stringValue(); }

}  // namespace

TEST_F(Converter, UnitConversionsRoundHalfAwayFromZero) {
    EXPECT_EQ(C::convertMmToCep("297"), "168378");
    EXPECT_EQ(C::convertCepToMm("168378"), "297.00");
    EXPECT_EQ(C::convertMmToCep("210"), "119055");
    EXPECT_EQ(C::convertCepToMm("119056"), "210.00");
    EXPECT_EQ(C::convertMmToCep("-0.5"), "-283");
    EXPECT_EQ(C::convertMagToQuill("100.5"), "5");
    EXPECT_EQ(C::convertQuillToMag("5"), "100.5");
    EXPECT_EQ(C::convertMagToQuill("99.94"), "-1");
    EXPECT_EQ(C::convertMagToQuill("99.95"), "-1");  // -0.5 away from zero
    EXPECT_EQ(C::convertQuillToMag("-1"), "99.9");
    EXPECT_EQ(C::convertMmToCep("garbage"), "0");
    EXPECT_EQ(C::convertMmToCep(" 12.5mm"), C::convertMmToCep("12.5"));  // the leading number, as a text reads
    EXPECT_EQ(C::convertMmToCep("1e20"), "0");                           // no paper is that long
}

TEST_F(Converter, HalvesRoundAwayFromZeroOnExactDecimals) {
    const std::pair<std::string, std::string> mmToCep[] = {
        {"0.0079375", "5"}, {"-0.0079375", "-5"}, {"127000000.0079375", "72000000005"}};
    for (const auto& [mm, cep] : mmToCep) EXPECT_EQ(C::convertMmToCep(mm), cep) << mm;
    EXPECT_EQ(C::convertCepToMm("360"), "0.64");  // 0.635 mm
    EXPECT_EQ(C::convertCepToMm("-360"), "-0.64");
    EXPECT_EQ(C::convertCepToMm("-1"), "0.00");   // no negative zero
    EXPECT_EQ(C::convertMagToQuill("100.05"), "1");
    // 1.4999995 is 1.500000 with six decimals; in binary it prints 1.499999.
    EXPECT_EQ(C::convertMagToQuill("100.14999995"), "2");
    EXPECT_EQ(C::convertQuillToMag("-1005"), "-0.5");

    const std::pair<const char*, const char*> lineWidths[] = {
        {"0.0005", "1"}, {"-0.0005", "-1"}, {"0.0004999995", "0"}, {"2.5", "2500"}};
    for (const auto& [internal, canonical] : lineWidths) {
        kz::Dictionary d{{"MinimumLineWidthValue", internal}};
        C::convertToCanonicalPpdKeyword(d, true);
        EXPECT_EQ(s(d, "MinimumLineWidthValue"), canonical) << internal;
    }
}

TEST_F(Converter, CreasesMirrorAndClampBeyondThePaper) {
    kz::Dictionary d{{"CreaseNum", "3"}, {"ChgPrintPaperSizeLength", "168378"}, {"CreasePosition1", "10000"},
                     {"CreasePosition2", "20000"}, {"CreasePosition3", "30000"}, {"CreaseDirection1", "In"},
                     {"CreaseDirection3", "Out"}, {"CreasePressureLevel1", "1"}};
    C::swapCreaseKeyword(d);
    EXPECT_EQ(s(d, "CreasePosition1"), "138378");
    EXPECT_EQ(s(d, "CreasePosition2"), "148378");
    EXPECT_EQ(s(d, "CreasePosition3"), "158378");
    EXPECT_EQ(s(d, "CreaseDirection1"), "Out");
    EXPECT_EQ(s(d, "CreasePressureLevel1"), "1");  // its partner is missing: not swapped
    EXPECT_FALSE(d.contains("CreasePressureLevel3"));
    C::swapCreaseKeyword(d);
    EXPECT_EQ(s(d, "CreasePosition1"), "10000");
    EXPECT_EQ(s(d, "CreasePosition3"), "30000");

    // A position beyond the paper would wrap to a huge unsigned number.
    kz::Dictionary beyond{{"CreaseNum", "1"}, {"ChgPrintPaperSizeLength", "1000"}, {"CreasePosition1", "5000"}};
    C::swapCreaseKeyword(beyond);
    EXPECT_EQ(s(beyond, "CreasePosition1"), "0");
}

TEST_F(Converter, CanonicalFormOfTheSimpleKeys) {
    kz::Dictionary d{{"Punch_PunchHoles", "MixSizeHoles4"},
                     {"GraphicsTreatmentEx", "JobText"},
                     {"IQImageSettingToText1200dpi", "Fine"},
                     {"VLInputSlot", "TrayStock"},
                     {"CoverPageTray", "Tray1"},
                     {"SeparatorsTray", ""},
                     {"AuthJobUserIdType", "Login"},
                     {"SecurityPrintPassword", "abc"},
                     {"RscPassword", ""},
                     {"AuthJobPassword", "fail"},
                     {"MinimumLineWidthValue", "0.1"},
                     {"PrintPositionFrontWidthMag", "100.5"},
                     {"TrimmerCutSize", "297"}};
    kz::LogCapture log;
    ConvertToCanonicalPpdKeyword(&d);
    EXPECT_EQ(s(d, "OutlineEmphasis"), "True");
    EXPECT_EQ(s(d, "GraphicsTreatmentBase"), "Job");
    EXPECT_EQ(s(d, "GraphicsTreatmentMode"), "Text");
    EXPECT_EQ(s(d, "IQImageSettingToText"), "Fine");
    EXPECT_EQ(s(d, "StockType"), "Name");
    EXPECT_EQ(s(d, "CoverPageStockType"), "Property");
    EXPECT_FALSE(d.contains("SeparatorsStockType"));
    EXPECT_EQ(s(d, "Punch"), "MixSize");
    EXPECT_EQ(s(d, "PunchHoles"), "Holes4");
    EXPECT_FALSE(d.contains("Punch_PunchHoles"));
    EXPECT_EQ(s(d, "AuthJobUserId"), "alice");
    EXPECT_FALSE(d.contains("AuthJobUserIdType"));
    EXPECT_EQ(s(d, "SecurityPrintPassword"), "cba");
    EXPECT_EQ(s(d, "RscPassword"), "");
    EXPECT_EQ(s(d, "AuthJobPassword"), "");
    EXPECT_TRUE(log.contains("### ### encode error"));
    EXPECT_EQ(s(d, "MinimumLineWidthValue"), "100");
    EXPECT_EQ(s(d, "PrintPositionFrontWidthMag"), "5");
    EXPECT_EQ(s(d, "TrimmerCutSize"), "168378");
    EXPECT_EQ(s(d, "ColorMode"), "Gray");
    EXPECT_EQ(s(d, "Fitting"), "False");

    // Without the flag, custom lengths, magnifications and passwords stay.
    kz::Dictionary plain{{"ChgPrintPaperSizeLength", "297"}, {"SecurityPrintPassword", "abc"},
                         {"PrintPositionBackWidthMag", "100.5"}, {"PrinterMode", "Contone600dpi"},
                         {"IQImageSettingToText1200dpi", "Fine"}, {"OutlineEmphasisLevel", "Emphasis0"}};
    C::convertToCanonicalPpdKeyword(plain, false);
    EXPECT_EQ(s(plain, "ChgPrintPaperSizeLength"), "297");
    EXPECT_EQ(s(plain, "SecurityPrintPassword"), "abc");
    EXPECT_EQ(s(plain, "PrintPositionBackWidthMag"), "100.5");
    EXPECT_FALSE(plain.contains("IQImageSettingToText"));
    EXPECT_EQ(s(plain, "OutlineEmphasis"), "False");
}

TEST_F(Converter, InternalFormOfTheSimpleKeys) {
    kz::Dictionary d{{"Punch", "MixSize"},         {"PunchHoles", "HolesMulti"},      {"RscPassword", "half"},
                     {"MinimumLineWidthValue", "2500"}, {"PrintPositionBackLengthMag", "-1"},
                     {"ChgPrintPaperSizeWidth", "119056"}, {"GraphicsTreatmentBase", "Job"},
                     {"GraphicsTreatmentMode", "Image"}};
    kz::LogCapture log;
    ConvertToInternalPpdKeyword(&d);
    ConvertToInternalPpdKeyword(nullptr);
    EXPECT_EQ(s(d, "Punch_PunchHoles"), "None");
    EXPECT_FALSE(d.contains("Punch"));
    EXPECT_EQ(s(d, "RscPassword"), "flah");  // what the decoder left behind
    EXPECT_TRUE(log.contains("### ### decode error"));
    EXPECT_EQ(s(d, "MinimumLineWidthValue"), "2.500");
    EXPECT_EQ(s(d, "PrintPositionBackLengthMag"), "99.9");
    EXPECT_EQ(s(d, "ChgPrintPaperSizeWidth"), "210.00");
    EXPECT_EQ(s(d, "GraphicsTreatmentEx"), "JobImage");
    EXPECT_EQ(s(d, "OutlineEmphasis"), "True");
    EXPECT_FALSE(d.contains("AuthJobUserIdType"));

    kz::Dictionary punch{{"Punch", "Left"}, {"PunchHoles", "Holes3"}};
    C::convertToInternalPpdKeyword(punch);
    EXPECT_EQ(s(punch, "Punch_PunchHoles"), "LeftHoles3");
}

TEST_F(Converter, NupLayouts) {
    kz::Dictionary d{{"ImpositionMode_ImpositionCustomMode", "Nup"}, {"ImpositionNup_NumOfPages", "4up"},
                     {"DocumentOrientation", "Portrait"}, {"ChgPrintPaperSizeType", "A4SEF"},
                     {"ImpositionNup_Fitting", "True"}};
    C::convertToCanonicalImpositionKeyword(d);
    EXPECT_EQ(s(d, "ImpositionMode"), "Job");
    EXPECT_EQ(s(d, "ImpositionCustomMode"), "Nup");
    EXPECT_EQ(s(d, "LayoutRepeatX") + "_" + s(d, "LayoutRepeatY") + "_" + s(d, "SheetDirection"), "2_2_Portrait");
    EXPECT_EQ(s(d, "FinishedSizeHeight"), "84189");
    EXPECT_EQ(s(d, "FinishedSizeWidth"), "59528");
    EXPECT_EQ(s(d, "Fitting"), "True");
    EXPECT_EQ(s(d, "FixedForm"), "A4SEF");
    EXPECT_EQ(s(d, "SheetSizeHeight"), "");
    EXPECT_EQ(s(d, "RotationAngle"), "Rotate0");
    EXPECT_FALSE(d.contains("ImpositionNup_NumOfPages"));
    C::convertToInternalImpositionKeyword(d);
    EXPECT_EQ(s(d, "ImpositionMode_ImpositionCustomMode"), "Nup");
    EXPECT_EQ(s(d, "ImpositionNup_NumOfPages"), "4up");
    EXPECT_FALSE(d.contains("LayoutRepeatX"));
    EXPECT_FALSE(d.contains("FixedForm"));

    kz::Dictionary lef{{"ImpositionMode_ImpositionCustomMode", "Nup"}, {"ImpositionNup_NumOfPages", "2up"},
                       {"ChgPrintPaperSizeType", "A4LEF"}};
    C::convertToCanonicalImpositionKeyword(lef);
    EXPECT_EQ(s(lef, "LayoutRepeatX") + "_" + s(lef, "LayoutRepeatY") + "_" + s(lef, "SheetDirection"),
              "1_2_Portrait");

    kz::Dictionary odd{{"ImpositionMode", "Job"}, {"ImpositionCustomMode", "Nup"}, {"LayoutRepeatX", "3"},
                       {"LayoutRepeatY", "3"}, {"SheetDirection", "Portrait"}};
    C::convertToInternalImpositionKeyword(odd);
    EXPECT_EQ(s(odd, "ImpositionNup_NumOfPages"), "2up");
}

TEST_F(Converter, BookletsAndTheRest) {
    kz::Dictionary d{{"ImpositionMode_ImpositionCustomMode", "Booklet"}, {"ImpositionBooklet_LayoutBaseFile", "Right"},
                     {"ImpositionBooklet_CreepTotalOffset", "0.50"}, {"ChgPrintPaperSizeType", "A3"},
                     {"DocumentOrientation", "Landscape"}};
    C::convertToCanonicalImpositionKeyword(d);
    EXPECT_EQ(s(d, "LayoutBaseFile"), "SaddleStiching2x1(RightBinding).json");
    EXPECT_EQ(s(d, "BackMargin"), "283");
    EXPECT_EQ(s(d, "CreepTotalOffset"), "0");
    EXPECT_EQ(s(d, "FinishedSizeHeight"), "168378");
    EXPECT_EQ(s(d, "FinishedSizeWidth"), "119055");
    EXPECT_EQ(s(d, "RotationAngle"), "Rotate90");
    EXPECT_EQ(s(d, "ImpositionAutoDuplex"), "True");
    C::convertToInternalImpositionKeyword(d);
    EXPECT_EQ(s(d, "ImpositionMode_ImpositionCustomMode"), "Booklet");
    EXPECT_EQ(s(d, "ImpositionBooklet_LayoutBaseFile"), "Right");
    EXPECT_EQ(s(d, "ImpositionBooklet_CreepTotalOffset"), "0.50");

    kz::Dictionary off{{"ImpositionMode_ImpositionCustomMode", "Sideways"}, {"ChgPrintPaperSizeType", "NoChange"},
                       {"ColorMode", "Color"}};
    C::convertToCanonicalImpositionKeyword(off);
    EXPECT_EQ(s(off, "ImpositionMode"), "Off");
    EXPECT_EQ(s(off, "ImpositionCustomMode"), "Advanced");
    EXPECT_EQ(s(off, "LayoutBaseFile"), "Normal-1side.json");
    EXPECT_EQ(s(off, "ColorMode"), "Gray");
    EXPECT_FALSE(off.contains("FixedForm"));
    EXPECT_FALSE(off.contains("SheetSizeHeight"));

    kz::Dictionary empty;
    C::convertToInternalImpositionKeyword(empty);
    EXPECT_TRUE(empty.empty());
}

TEST_F(Converter, PaperSizeTable) {
    kz::Dictionary a4 = C::getCepSizeFromPaperSizeType("A4SEF");
    EXPECT_EQ(s(a4, "width"), "119056");
    EXPECT_EQ(s(a4, "height"), "168378");
    EXPECT_EQ(s(a4, "typeNum"), "3");
    EXPECT_EQ(s(C::getCepSizeFromPaperSizeType("50x70SEF"), "typeNum"), "145");
    EXPECT_TRUE(C::getCepSizeFromPaperSizeType("Custom").empty());
    EXPECT_EQ(C::getImpositionFinishedSheetDirection("SpecialA4LEF"), "Landscape");
    EXPECT_EQ(C::getImpositionFinishedSheetDirection("Envyouchou3LEF"), "Portrait");
}
