// The built bundle's data read as the engine reads it: the PPD agrees with the
// option controls, every shown text has both translations, every view places
// the controls of its pane, the panes tree names existing panes, the
// consistency check can fire, and the convert table maps every PPD choice
// both ways.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Common/WebService/PrinterData.h"
#include "engine/controls/ControlDescription.h"
#include "engine/conversion/ConvertTable.h"
#include "engine/ppd/PpdFile.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/StringTable.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;

namespace {

const std::string bundle = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin";
const std::string resources = bundle + "/Contents/Resources";

struct DescriptionFile {
    std::string bundlePath;  // the bundle whose Contents/Resources hold it
    kz::Dictionary entries;
};

kz::Dictionary readDescriptions(const std::string& path) {
    std::string error;
    auto file = kzp::ControlDescription::readFile(path, &error);
    EXPECT_TRUE(file) << path << ": " << error;
    return file ? *file : kz::Dictionary{};
}

std::vector<std::string> paneBundles() {
    std::vector<std::string> panes;
    for (const auto& entry : fs::directory_iterator(bundle + "/Contents/PlugIns"))
        if (entry.path().extension() == ".bundle") panes.push_back(entry.path().string());
    std::sort(panes.begin(), panes.end());
    return panes;
}

// The main description file ("VLPOD") and every pane's "UI" file.
std::vector<DescriptionFile> descriptionFiles() {
    kz::Value info = kz::PropertyList::readFile(bundle + "/Contents/Info.plist");
    std::vector<DescriptionFile> files;
    files.push_back({bundle, readDescriptions(resources + "/" + info.dictionary().get("VLPOD").stringValue() + ".plist")});
    for (const std::string& pane : paneBundles())
        files.push_back({pane, readDescriptions(pane + "/Contents/Resources/UI.plist")});
    return files;
}

std::map<std::string, kz::Dictionary> controlsByKeyword() {
    std::map<std::string, kz::Dictionary> all;
    for (const auto& file : descriptionFiles())
        for (const auto& [name, value] : file.entries) {
            const kz::Dictionary& d = value.dictionary();
            EXPECT_EQ(kzp::ControlDescription::nonEmptyText(d, "mainKeyword").value_or(""), name);
            EXPECT_TRUE(all.emplace(name, d).second) << name << " is described twice";
        }
    return all;
}

std::vector<std::string> choices(const kz::Dictionary& d) {
    std::vector<std::string> values;
    for (const auto& c : kzp::ControlDescription::array(d, "choices"))
        values.push_back(c.dictionary().get("choice").stringValue());
    return values;
}

// Every text key a description shows: label, choice texts, the number
// field's note and the dialog texts of its unrestorable rules.
void collectRuleTexts(const kz::Dictionary& rule, std::set<std::string>& keys) {
    for (const auto& [key, value] : rule) {
        if ((key == "title" || key == "message") && value.isString()) keys.insert(value.string());
        else if (value.isDictionary()) collectRuleTexts(value.dictionary(), keys);
    }
}

std::set<std::string> shownTexts(const kz::Dictionary& entries) {
    std::set<std::string> keys;
    for (const auto& [name, value] : entries) {
        const kz::Dictionary& d = value.dictionary();
        for (const char* key : {"text", "desc_text"})
            if (auto t = kzp::ControlDescription::nonEmptyText(d, key)) keys.insert(*t);
        for (const auto& c : kzp::ControlDescription::array(d, "choices"))
            keys.insert(c.dictionary().get("text").stringValue());
        collectRuleTexts(kzp::ControlDescription::dictionary(d, "unrestorable_conflict"), keys);
    }
    return keys;
}

kz::StringTable table(const std::string& bundlePath, const std::string& language) {
    std::string error;
    auto t = kz::StringTable::readFile(bundlePath + "/Contents/Resources/" + language + ".lproj/UI.strings", &error);
    EXPECT_TRUE(t) << bundlePath << " " << language << ": " << error;
    return t ? *t : kz::StringTable{};
}

bool hasJapanese(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0xE3) return true;  // kana and CJK ideographs start with E3..E9 in UTF-8
    return false;
}

}  // namespace

TEST(ProductPpd, EveryChoiceOptionOfTheControlsIsAPpdOptionWithTheSameChoices) {
    auto ppd = kzp::PpdFileExt::initWithContentsOfFile(resources + "/KZPrintServer.ppd");
    ASSERT_TRUE(ppd);
    int checked = 0;
    for (const auto& [keyword, d] : controlsByKeyword()) {
        const std::string type = kzp::ControlDescription::text(d, "control_type").value_or("");
        if (type != "PopupButton" && type != "CheckBox") continue;
        if (!ppd->isExists(keyword)) {
            // Joined keys of the internal form and server-filled lists only.
            EXPECT_TRUE(keyword.find('_') != std::string::npos || keyword == "VLJobFolder") << keyword;
            continue;
        }
        ++checked;
        std::vector<std::string> expected;
        for (const std::string& c : choices(d))
            if (!c.empty() && c != "Custom") expected.push_back(c);
        std::vector<std::string> actual = ppd->optionKeywords(keyword).value_or(std::vector<std::string>{});
        if (type == "CheckBox") {
            EXPECT_EQ(ppd->uiType(keyword), 0) << keyword;
            std::sort(expected.begin(), expected.end());
            std::sort(actual.begin(), actual.end());
        }
        EXPECT_EQ(actual, expected) << keyword;
        // The PPD's default is the control's, so a restore marks what the panel shows.
        kz::Value def = ppd->defaultOptionChoice(keyword);
        EXPECT_EQ(def.stringValue(), kzp::ControlDescription::text(d, "default").value_or("")) << keyword;
    }
    EXPECT_GT(checked, 60);
    // Keys the canonical form splits off are choices too.
    EXPECT_TRUE(ppd->isExists("Punch", "MixSize"));
    EXPECT_TRUE(ppd->isExists("PunchHoles", "HolesMulti"));
    EXPECT_TRUE(ppd->isExists("ImpositionCustomMode", "Booklet"));
    // "CMYK2" is listed, so the manager's default colour model becomes it.
    EXPECT_TRUE(ppd->isExists("ColorModel", "CMYK2"));
    // Texts and passwords travel in custom entries, never as choices.
    EXPECT_FALSE(ppd->isExists("SecurityPrintPassword"));
    EXPECT_FALSE(ppd->isExists("MailAddress"));
}

TEST(ProductPpd, TheSamplePrinterCarriesEveryServerListInTheRowsOfThePrintService) {
    auto ppd = kzp::PpdFileExt::initWithContentsOfFile(resources + "/KZPrintServer.ppd");
    ASSERT_TRUE(ppd);
    auto list = [&](const std::string& name) {
        std::optional<std::string> bytes = kzp::PrinterData::read(ppd->handle(), name);
        EXPECT_TRUE(bytes) << name;
        kz::Value rows = bytes ? kz::PropertyList::read(*bytes) : kz::Value();
        EXPECT_TRUE(rows.isArray()) << name;
        return rows.isArray() ? rows.array() : kz::Array{};
    };
    for (const char* name : {"StackerInfoList", "FeederInfoList", "DeviceList", "JobFolder", "PrePostDevice",
                             "JobResource-NOTE", "JobResource-CUSTOM_NOTE", "JobResource-PAGENATION",
                             "JobResource-FORM", "JobResource-WATERMARK", "JobResource-TRAPPING",
                             "JobResource-NORMALIZER", "JobResource-IMPOSITION", "Font", "DensityAdjustProfile",
                             "UserTrcProfile", "DeviceLinkFile", "CalibFile"})
        EXPECT_FALSE(list(name).empty()) << name;
    // The device option updater reads element 0 of feeder and stacker rows and
    // [value, key] pairs of the device list.
    for (const auto& row : list("FeederInfoList")) EXPECT_EQ(row.array().at(1).stringValue(), "Number");
    for (const auto& row : list("StackerInfoList")) EXPECT_EQ(row.array().at(1).stringValue(), "Type");
    std::map<std::string, std::string> devices;
    for (const auto& row : list("DeviceList")) {
        ASSERT_EQ(row.array().size(), 2u);
        devices[row.array()[1].stringValue()] = row.array()[0].stringValue();
    }
    EXPECT_EQ(devices["offset"], "true");
    EXPECT_EQ(devices["saddleFoldStaple"], "true");
    EXPECT_EQ(devices["zFold"], "false");  // a device the finisher lacks
    // The custom papers join the paper type pop-ups as [index-name, "CustomPaper" index].
    const kz::Array papers = list("PrePostDevice");
    ASSERT_FALSE(papers.empty());
    EXPECT_EQ(papers[0].array().at(1).stringValue(), "CustomPaper1");
}

TEST(ProductTexts, EveryShownTextHasAnEnglishAndAJapaneseEntryInItsBundleAndTheMainOne) {
    // The rule dialogs word options of every pane from the main bundle's table.
    kz::StringTable mainEn = table(bundle, "en"), mainJa = table(bundle, "ja");
    for (const auto& file : descriptionFiles()) {
        kz::StringTable en = table(file.bundlePath, "en"), ja = table(file.bundlePath, "ja");
        EXPECT_EQ(en.size(), ja.size()) << file.bundlePath;
        EXPECT_FALSE(en.find("") || ja.find("")) << file.bundlePath << ": an entry without a key";
        for (const std::string& key : shownTexts(file.entries)) {
            EXPECT_TRUE(en.find(key)) << file.bundlePath << ": no English for " << key;
            EXPECT_TRUE(ja.find(key)) << file.bundlePath << ": no Japanese for " << key;
            EXPECT_TRUE(mainEn.find(key) && mainJa.find(key)) << "main bundle lacks " << key;
        }
    }
    int japanese = 0;
    for (const auto& [key, value] : mainJa.entries()) japanese += hasJapanese(value.string());
    EXPECT_GT(japanese, static_cast<int>(mainJa.size() * 8 / 10)) << "the ja table is mostly not Japanese";
    // The consistency check's alert and every message of its table.
    for (const char* key : {"Alert_ChkMsg", "Alert_SecurityPrintPassword", "Alert_RecordSpecNumber",
                            "Alert_ImpositionTemplate", "Alert_TextUserAdjustName", "AutomaticWindowTitle", "close"}) {
        ASSERT_TRUE(mainEn.find(key) && mainJa.find(key)) << key;
        EXPECT_NE(*mainEn.find(key), key);
        EXPECT_TRUE(hasJapanese(*mainJa.find(key))) << key;
    }
}

TEST(ProductPanes, EachPaneIsABundleWhoseViewsPlaceEveryControlOnce) {
    std::map<std::string, std::string> roleViews;
    for (const std::string& pane : paneBundles()) {
        const std::string name = fs::path(pane).stem().string();
        kz::Value info = kz::PropertyList::readFile(pane + "/Contents/Info.plist");
        ASSERT_TRUE(info.isDictionary()) << pane;
        EXPECT_EQ(info.dictionary().get("CFBundleExecutable").stringValue(), name + ".so");
        EXPECT_EQ(info.dictionary().get("NSPrincipalClass").stringValue(), name + "Pane");

        kz::Dictionary entries = readDescriptions(pane + "/Contents/Resources/UI.plist");
        std::map<std::string, int> placed;
        for (const auto& view : fs::directory_iterator(pane + "/Contents/Resources")) {
            const std::string file = view.path().filename().string();
            if (view.path().extension() != ".plist" || file == "UI.plist") continue;
            kz::Value root = kz::PropertyList::readFile(view.path().string());
            const kz::Dictionary& v = root.dictionary().get("view").dictionary();
            const kz::Array& frame = v.get("frame").array();
            ASSERT_EQ(frame.size(), 4u) << file;
            for (const auto& sub : v.get("subviews").array()) {
                const kz::Dictionary& s = sub.dictionary();
                ASSERT_EQ(s.get("class").stringValue(), "QuillUI") << file;
                const std::string key = s.get("toolTip").stringValue();
                EXPECT_TRUE(entries.find(key)) << file << " places " << key << ", which the pane does not describe";
                ++placed[key];
                const kz::Array& f = s.get("frame").array();
                EXPECT_GE(f[0].doubleValue(), 0);
                EXPECT_GE(f[1].doubleValue(), 0);
                EXPECT_LE(f[0].doubleValue() + f[2].doubleValue(), frame[2].doubleValue()) << file << " " << key;
                EXPECT_LE(f[1].doubleValue() + f[3].doubleValue(), frame[3].doubleValue()) << file << " " << key;
            }
        }
        for (const auto& [key, value] : entries) EXPECT_EQ(placed[key], 1) << name << ": " << key;
    }
}

TEST(ProductViews, TheTrayWindowsControlsStandClearOfTheSeparatorAndCloseButton) {
    kz::Value root = kz::PropertyList::readFile(resources + "/AutomaticPaperTraySelection.plist");
    const kz::Dictionary& content = root.dictionary().get("window").dictionary().get("contentView").dictionary();
    double separatorTop = -1;
    for (const auto& sub : content.get("subviews").array())
        if (sub.dictionary().get("outlet").stringValue() == "_separator") {
            const kz::Array& f = sub.dictionary().get("frame").array();
            separatorTop = f[1].doubleValue() + f[3].doubleValue();
        }
    ASSERT_GT(separatorTop, 0);
    for (const auto& sub : content.get("subviews").array()) {
        const kz::Dictionary& s = sub.dictionary();
        if (s.get("class").stringValue() != "QuillUI") continue;
        // A control's pop-up or field fills the bottom of its frame: it needs
        // room above the separator's line.
        EXPECT_GE(s.get("frame").array()[1].doubleValue(), separatorTop + 8) << s.get("outlet").stringValue();
    }
}

TEST(ProductPanes, ThePanesTreeNamesExistingPanesAndOneBundleServesTwoRoles) {
    kz::Value tree = kz::PropertyList::readFile(resources + "/PanesTree.plist");
    ASSERT_TRUE(tree.isDictionary());
    std::map<std::string, std::vector<std::string>> roles;
    for (const auto& item : tree.dictionary().get("items").array()) {
        std::string name = item.dictionary().get("bundleName").stringValue();
        std::string role;
        if (auto plus = name.find('+'); plus != std::string::npos) {
            role = name.substr(plus + 1);
            name = name.substr(0, plus);
        }
        EXPECT_TRUE(fs::is_directory(bundle + "/Contents/PlugIns/" + name + ".bundle")) << name;
        roles[name].push_back(role);
        if (!role.empty()) {
            EXPECT_TRUE(fs::exists(bundle + "/Contents/PlugIns/" + name + ".bundle/Contents/Resources/" + name + "_" +
                                   role + ".plist"))
                << "no view for " << name << "+" << role;
        }
    }
    EXPECT_EQ(roles["Media"], (std::vector<std::string>{"Front", "Back"}));
    for (const char* pane : {"Page", "Layout", "Finishing", "Color", "JobManagement", "SpoolOptions", "PaginationForms"})
        EXPECT_EQ(roles[pane].size(), 1u) << pane;
}

TEST(ProductRules, EveryConsistencyRuleCanFire) {
    // Switch key, the value that asks for the companion, companion key.
    const std::vector<std::tuple<std::string, std::string, std::string>> rules = {
        {"SecurityPrint", "True", "SecurityPrintPassword"},
        {"MailNotifyJobEnd", "True", "MailAddress"},
        {"VLInputSlot", "TrayStock", "StockName"},
        {"PhysicalPageRangeMode", "Appoint", "PhysicalPageRange"},
        {"RecordSpec", "True", "RecordSpecNumber"},
        {"LogicalPageRangeMode", "Appoint", "LogicalPageRange"},
        {"BlankPapersFrontTray", "TrayStock", "BlankPapersFrontStockName"},
        {"BlankPapersBackTray", "TrayStock", "BlankPapersBackStockName"},
        {"SeparatorsTray", "TrayStock", "SeparatorsStockName"},
        {"ImpositionMode_ImpositionCustomMode", "Template", "ImpositionTemplate"},
        {"Imposition1stTray", "TrayStock", "Imposition1stStockName"},
        {"ImpositionVariablePrintMode", "UseForm", "ImpositionFormName"},
        {"ImpositionPaginationMode", "Template", "ImpositionPaginationTemplate"},
        {"ImpositionWaterMark", "True", "ImpositionWaterMarkName"},
        {"PaginationMode", "Template", "PaginationTemplate"},
        {"VariablePrintMode", "UseForm", "FormName"},
        {"WaterMark", "True", "WaterMarkName"},
        {"OptionMemo", "True", "OptionMemoFile"},
        {"UserDefineMemo", "True", "UserDefineMemoFile"},
        {"MemoComment", "True", "MemoCommentContent"},
        {"ImageUserAdjust", "True", "ImageUserAdjustName"},
        {"TextUserAdjust", "True", "TextUserAdjustName"},
    };
    auto all = controlsByKeyword();
    for (const auto& [key, on, companion] : rules) {
        ASSERT_TRUE(all.count(key)) << key;
        std::vector<std::string> values = choices(all[key]);
        EXPECT_NE(std::find(values.begin(), values.end(), on), values.end()) << key << " never is " << on;
        ASSERT_TRUE(all.count(companion)) << companion;
        // A companion that starts filled in would let the rule pass unseen.
        EXPECT_FALSE(kzp::ControlDescription::nonEmptyText(all[companion], "default")) << companion;
        EXPECT_TRUE(kzp::ControlDescription::text(all[companion], "control_type").value_or("").find("TextField") !=
                    std::string::npos)
            << companion;
    }
    // Record division switches "RecordSpec" off unless it divides.
    std::vector<std::string> divisions = choices(all["RecordDiv"]);
    EXPECT_EQ(divisions.front(), "Off");
}

TEST(ProductConvertTable, EveryPpdChoiceOfATableEntryGoesToATagValueAndBack) {
    std::string error;
    auto table = kzp::ConvertTable::readFile(resources + "/ConvertTable.plist", &error);
    ASSERT_TRUE(table) << error;
    auto ppd = kzp::PpdFileExt::initWithContentsOfFile(resources + "/KZPrintServer.ppd");
    ASSERT_TRUE(ppd);
    std::set<std::string> tagKeys;
    int mapped = 0;
    for (const auto& [keyword, entry] : table->entries()) {
        ASSERT_TRUE(entry.tagKey()) << keyword;
        EXPECT_TRUE(tagKeys.insert(*entry.tagKey()).second) << "two entries give the tag key " << *entry.tagKey();
        if (!ppd->isExists(keyword) || ppd->uiType(keyword) == 0) continue;
        // The saved file's resolution travels beside its tag (SP_TFDPI) and
        // is rebuilt after the table pass; the entry alone keeps the kind.
        if (keyword == "VLSaveFile") continue;
        for (const std::string& choice : ppd->optionKeywords(keyword).value_or(std::vector<std::string>{})) {
            auto tag = entry.tagValueForOptionKeyword(kz::Value(choice));
            ASSERT_TRUE(tag) << keyword << " " << choice;
            auto back = entry.optionKeywordForTagValue(*tag);
            ASSERT_TRUE(back) << keyword << " " << choice;
            EXPECT_EQ(back->stringValue(), choice) << keyword;
            ++mapped;
        }
    }
    EXPECT_GT(mapped, 200);
}
