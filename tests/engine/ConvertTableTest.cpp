#include "engine/conversion/ConvertTable.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempFolder.h"
#include "engine/preferences/AppPreference.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

using namespace ComTORVALEKZ2R4_Plugin;

namespace {

kz::Value item(const char* keyword, kz::Value tagValue) {
    return kz::Dictionary{{"optionKeyword", keyword}, {"tagValue", std::move(tagValue)}};
}

// A table of one entry "Opt" with tag key "T".
ConvertTable tableOf(kz::Dictionary entry) {
    entry.set("tagKey", "T");
    std::string error;
    std::optional<ConvertTable> table = ConvertTable::fromValue(kz::Dictionary{{"Opt", std::move(entry)}}, &error);
    EXPECT_TRUE(table) << error;
    return table ? std::move(*table) : *ConvertTable::fromValue(kz::Dictionary{});
}

const kz::Dictionary kRangeFirst{{"items", kz::Array{item("Bin%d", 10), item("Tray", 13)}}};
const kz::Dictionary kExactFirst{{"items", kz::Array{item("Tray2", 5), item("Bin%d", 10), item("Stock", "07")}}};
const kz::Dictionary kBoolean{{"tagValueType", "Boolean"}};
const kz::Dictionary kPoints{{"magnification", 0.005}, {"format", "0"}};
const kz::Dictionary kThirds{{"magnification", 3}};
const kz::Dictionary kTwoPlaces{{"format", "0.00"}};
const kz::Dictionary kPassThrough{};

struct ToKeyword {
    const kz::Dictionary* entry;
    kz::Value tagValue;
    std::optional<kz::Value> expected;
};

struct ToTag {
    const kz::Dictionary* entry;
    kz::Value optionValue;
    std::optional<kz::Value> expected;
};

}  // namespace

TEST(ConvertTable, TagValueToOptionKeyword) {
    const ToKeyword cases[] = {
        // Items are tried in order, and a numbered range matches anything.
        {&kRangeFirst, 13, kz::Value("Bin3")},
        {&kRangeFirst, "5", kz::Value("Bin-5")},
        {&kExactFirst, "5", kz::Value("Tray2")},
        {&kExactFirst, 14, kz::Value("Bin4")},
        {&kExactFirst, -9223372036854775807LL - 1, std::nullopt},  // the offset would overflow
        {&kBoolean, 1, kz::Value(true)},
        {&kBoolean, "1", kz::Value(true)},
        {&kBoolean, 0, kz::Value(false)},
        {&kBoolean, 2, kz::Value(false)},
        {&kBoolean, "yes", kz::Value(false)},
        {&kPoints, "841.89", kz::Value("168378")},
        {&kPoints, "not a number", std::nullopt},
        {&kThirds, 1, kz::Value("0.333333")},
        {&kThirds, "3", kz::Value("1")},
        // Exact decimals: 2.675 in binary is below the half and would give 2.67.
        {&kTwoPlaces, "2.675", kz::Value("2.68")},
        {&kTwoPlaces, 1.5, kz::Value("1.50")},
        {&kPassThrough, 42, kz::Value(42)},
        {&kPassThrough, "\xC2\xA5Jobs\xC2\xA5" "2026", kz::Value("\\Jobs\\2026")},
    };
    for (const ToKeyword& c : cases) {
        SCOPED_TRACE(c.tagValue.description());
        ConvertTable table = tableOf(*c.entry);
        kz::LogCapture log;
        EXPECT_EQ(table.entryForMainKeyword("Opt")->optionKeywordForTagValue(c.tagValue), c.expected);
        EXPECT_EQ(log.lines().size(), c.expected ? 0u : 1u);
    }
    kz::LogCapture log;
    tableOf(kz::Dictionary{{"items", kz::Array{item("A", 1)}}}).entryForMainKeyword("Opt")->optionKeywordForTagValue(7);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"### ## \"7\" can't convert to optionKeyword for \"T\""});
}

TEST(ConvertTable, OptionKeywordToTagValue) {
    const ToTag cases[] = {
        {&kRangeFirst, "Bin3", kz::Value(13)},
        // A range with a prefix passes over other values.
        {&kExactFirst, "Tray2", kz::Value(5)},
        {&kExactFirst, "Bin12", kz::Value(22)},
        {&kExactFirst, "Stock", kz::Value("07")},  // the item's tag value as stored
        {&kExactFirst, "Bin", std::nullopt},
        {&kExactFirst, "Tray3", std::nullopt},
        {&kExactFirst, "Bin99999999999999999999", std::nullopt},
        {&kBoolean, "TRUE", kz::Value(true)},
        {&kBoolean, "true", kz::Value(true)},
        {&kBoolean, "True ", kz::Value(false)},
        {&kBoolean, "1", kz::Value(false)},
        {&kPassThrough, false, kz::Value(false)},  // a boolean is a boolean whatever the entry
        {&kPoints, "168378", kz::Value("841.89")},
        {&kPoints, "12mm", std::nullopt},
        {&kTwoPlaces, "1.234", kz::Value("1.234")},  // the format plays no part this way
    };
    for (const ToTag& c : cases) {
        SCOPED_TRACE(c.optionValue.description());
        ConvertTable table = tableOf(*c.entry);
        kz::LogCapture log;
        std::optional<kz::Value> got = table.entryForMainKeyword("Opt")->tagValueForOptionKeyword(c.optionValue);
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(log.lines().size(), c.expected ? 0u : 1u);
    }
    // A boolean option value is matched against items as "True"/"False".
    ConvertTable items = tableOf(kz::Dictionary{{"items", kz::Array{item("False", 0), item("True", 1)}}});
    EXPECT_EQ(items.entryForMainKeyword("Opt")->tagValueForOptionKeyword(true), kz::Value(1));
    kz::LogCapture log;
    items.entryForMainKeyword("Opt")->tagValueForOptionKeyword("Maybe");
    EXPECT_EQ(log.lines(), std::vector<std::string>{"### ## \"\" can't convert to tagValue for \"T\""});
}

TEST(ConvertTable, WholeDictionariesAndTheExtraProcessing) {
    kz::Dictionary plist{
        {"VLSRGBAuto", kz::Dictionary{{"tagKey", "CL_AUTO"}}},
        {"VLSRGBAutoType", kz::Dictionary{{"tagKey", "CL_AUTOTP"}}},
        {"VLSaveFile", kz::Dictionary{{"tagKey", "SP_SAVEFT"}, {"items", kz::Array{item("TIFF200dpi", 1)}}}},
        {"First", kz::Dictionary{{"tagKey", "DUP"}}},
        {"Second", kz::Dictionary{{"tagKey", "DUP"}}},
        {"NoTag", kz::Dictionary{}},
    };
    std::optional<ConvertTable> table = ConvertTable::fromValue(plist);
    ASSERT_TRUE(table);
    using C = PrintOptionConverter;
    kz::LogCapture log;

    kz::Dictionary out = C::toPpdKeywordFormat({{"CL_RGBMD", "8"}, {"CL_AUTO", "1"}, {"CL_AUTOTP", "2"}, {"DUP", "x"}, {"ZZ", "1"}}, *table);
    EXPECT_EQ(out, (kz::Dictionary{{"First", "x"}}));
    out = C::toPpdKeywordFormat({{"CL_RGBMD", -1}, {"CL_AUTO", "1"}}, *table);
    EXPECT_TRUE(out.empty());
    out = C::toPpdKeywordFormat({{"CL_RGBMD", "7"}}, *table);
    EXPECT_EQ(out.get("VLRGBColorCorrect").stringValue(), "sRGBAutoOnSitePhoto");

    const std::pair<kz::Dictionary, const char*> saves[] = {
        {{{"SP_SAVEFT", "0"}, {"SP_TFDPI", "300"}}, "None"},
        {{{"SP_SAVEFT", "1"}}, "TIFF600dpi"},
        {{{"SP_SAVEFT", "2"}, {"SP_TFDPI", "0"}}, "PDF600dpi"},
        {{{"SP_SAVEFT", 2}, {"SP_TFDPI", 1200}}, "PDF1200dpi"},
        {{{"SP_SAVEFT", "1"}, {"SP_TFDPI", "300"}}, "TIFF300dpi"},
    };
    for (const auto& [input, expected] : saves)
        EXPECT_EQ(C::toPpdKeywordFormat(input, *table).get("VLSaveFile").stringValue(), expected);
    // An unknown type keeps what the table pass made of it (here: nothing).
    EXPECT_FALSE(C::toPpdKeywordFormat({{"SP_SAVEFT", "3"}}, *table).contains("VLSaveFile"));

    out = C::toInputMgrFormat({{"VLSaveFile", "TIFF200dpi"}, {"NoTag", "a"}, {"Unknown", "b"}, {"Second", "c"}}, *table);
    EXPECT_EQ(out, (kz::Dictionary{{"SP_SAVEFT", 1}, {"DUP", "c"}}));
}

TEST(ConvertTable, RefusesMalformedTablesWithTheReason) {
    const std::pair<kz::Value, const char*> cases[] = {
        {kz::Array{}, "the top level is not a dictionary"},
        {kz::Dictionary{{"A", "x"}}, "entry \"A\" is not a dictionary"},
        {kz::Dictionary{{"A", kz::Dictionary{{"tagKey", 3}}}}, "entry \"A\" \"tagKey\" is not a text"},
        {kz::Dictionary{{"A", kz::Dictionary{{"items", "x"}}}}, "entry \"A\" \"items\" is not an array"},
        {kz::Dictionary{{"A", kz::Dictionary{{"items", kz::Array{kz::Dictionary{{"tagValue", 1}}}}}}},
         "entry \"A\" item 1: \"optionKeyword\" is missing or not a text"},
        {kz::Dictionary{{"A", kz::Dictionary{{"items", kz::Array{item("B", true)}}}}},
         "entry \"A\" item 1: \"tagValue\" is missing or not a number"},
        {kz::Dictionary{{"A", kz::Dictionary{{"items", kz::Array{item("B", "two")}}}}},
         "entry \"A\" item 1: \"tagValue\" is missing or not a number"},
        {kz::Dictionary{{"A", kz::Dictionary{{"magnification", "0.0"}}}}, "entry \"A\" \"magnification\" is zero"},
        {kz::Dictionary{{"A", kz::Dictionary{{"magnification", "x"}}}}, "entry \"A\" \"magnification\" is not a number"},
        {kz::Dictionary{{"A", kz::Dictionary{{"format", "0.0.0"}}}}, "entry \"A\" \"format\" is not a number format pattern"},
    };
    for (const auto& [plist, reason] : cases) {
        std::string error;
        EXPECT_FALSE(ConvertTable::fromValue(plist, &error));
        EXPECT_EQ(error, reason);
    }
    std::string error;
    EXPECT_FALSE(ConvertTable::read("", &error));
    EXPECT_FALSE(ConvertTable::read("<plist><dict><key>A</key>", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ConvertTable::read(std::string(ConvertTable::kMaxFileBytes + 1, ' '), &error));
    EXPECT_EQ(error, "larger than 4 MiB");
    EXPECT_FALSE(ConvertTable::readFile("/nonexistent/table.plist", &error));
    EXPECT_EQ(error, "cannot open /nonexistent/table.plist");
}

TEST(ConvertTable, SharedConverterKeepsTheTableUntilItsFileChanges) {
    PrintOptionConverter& shared = PrintOptionConverter::sharedInstance();
    EXPECT_EQ(ToPpdKeywordFormat(nullptr), nullptr);
    EXPECT_EQ(ToInputMgrFormat(nullptr), nullptr);

    TempFolder folder;
    const std::string path = folder / "table.plist";
    shared.setConvertTablePath(path);
    kz::Dictionary option{{"Collate", "True"}};
    {
        kz::LogCapture log;
        std::unique_ptr<kz::Dictionary> converted = ToInputMgrFormat(&option);
        ASSERT_TRUE(converted);
        EXPECT_TRUE(converted->empty());
        EXPECT_TRUE(log.contains("can't load convert table"));
    }
    std::ofstream(path) << "<plist><dict><key>Collate</key><dict><key>tagKey</key><string>SP_COLLATE</string>"
                           "<key>tagValueType</key><string>Boolean</string></dict></dict></plist>";
    EXPECT_EQ(*ToInputMgrFormat(&option), (kz::Dictionary{{"SP_COLLATE", true}}));
    EXPECT_EQ(shared.inputMgrTagValue("Collate", "false"), kz::Value(false));
    EXPECT_EQ(shared.inputMgrTagValue("Other", "x"), std::nullopt);
    std::shared_ptr<const ConvertTable> kept = shared.sharedConvertTable();
    EXPECT_EQ(shared.sharedConvertTable(), kept) << "parsed once while the file stays";
    // Another table in its place (another size) is read when next looked at.
    std::ofstream(path) << "<plist><dict><key>Collate</key><dict><key>tagKey</key><string>SP_COLLATED</string>"
                           "<key>tagValueType</key><string>Boolean</string></dict></dict></plist>";
    shared.setConvertTablePath(path);
    EXPECT_EQ(*ToInputMgrFormat(&option), (kz::Dictionary{{"SP_COLLATED", true}}));

    // The bundle's own table, named by the application preference.
    shared.setConvertTablePath(std::nullopt);
    AppPreference& preference = AppPreference::sharedInstance();
    std::shared_ptr<kz::Bundle> previous = preference.bundle();
    preference.setBundle(kz::Bundle::open(std::string(KZ_SOURCE_DIR) + "/resources/bundle"));
    std::optional<ConvertTable> bundled = shared.convertTable();
    ASSERT_TRUE(bundled);
    kz::Dictionary canonical{{"VLInputSlot", "Tray2"}, {"PunchHoles", "HolesMulti"}, {"ChgPrintPaperSizeLength", "168378"},
                             {"VLRGBColorCorrect", "AdobeRGB"}, {"VLSaveFile", "TIFF300dpi"}};
    kz::Dictionary tags = shared.toInputMgrFormat(canonical);
    tags.set("SP_TFDPI", "300");
    EXPECT_EQ(shared.toPpdKeywordFormat(tags), canonical);
    preference.setBundle(previous);
}
