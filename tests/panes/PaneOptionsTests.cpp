// Option questions answered from the plug-in's PPD and the registry: the
// defaults and their "CMYK2" exception, aliases, summaries, plain controls
// filled from the PPD and read back, restoring the panes.
#include <gmock/gmock.h>

#include "Common/Security/EncryptUtil.h"
#include "PaneTestSupport.h"
#include "engine/ppd/PpdFile.h"
#include "platform/kit/Button.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/SecureTextField.h"
#include "platform/kit/Slider.h"
#include "platform/kit/TextField.h"

using namespace panetest;

namespace {

std::string ppd(bool withCmyk2) {
    std::string text =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
        "*LanguageEncoding: ISOLatin1\n*PCFileName: \"TEST.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n"
        "*ModelName: \"Test\"\n*ShortNickName: \"Test\"\n*NickName: \"Test\"\n*PSVersion: \"(3010) 0\"\n"
        "*OpenUI *ColorModel/Color Mode: PickOne\n*DefaultColorModel: CMYK\n"
        "*ColorModel CMYK/Color: \"\"\n";
    if (withCmyk2) text += "*ColorModel CMYK2/Color (Fine): \"\"\n";
    text +=
        "*ColorModel Gray/Grayscale: \"\"\n*CloseUI: *ColorModel\n"
        "*OpenUI *Speed/Speed: PickOne\n*DefaultSpeed: A\n*Speed A/Slow: \"\"\n*Speed B/Normal: \"\"\n"
        "*Speed C/Fast: \"\"\n*CloseUI: *Speed\n"
        "*OpenUI *Staple/Stapling: PickOne\n*DefaultStaple: Off\n*Staple Off/None: \"\"\n*Staple On/One: \"\"\n"
        "*CloseUI: *Staple\n"
        "*OpenUI *Sort/Sorting: Boolean\n*DefaultSort: False\n*Sort True/Yes: \"\"\n*Sort False/No: \"\"\n"
        "*CloseUI: *Sort\n"
        "*OpenUI *Tray/Paper Tray: PickOne\n*DefaultTray: Tray1\n*Tray Tray1/Tray 1: \"\"\n"
        "*Tray Tray2/Tray 2: \"\"\n*CloseUI: *Tray\n"
        "*DefaultResolution: 600dpi\n";
    return text;
}

class Options : public ::testing::Test {
protected:
    PlugInFixture f;
    void SetUp() override { writeText(f.resources() + "/Test.ppd", ppd(true)); }
    kzp::PanePlugInMgr& mgr() { return f.manager(); }

    // A pop-up option with its default, registered with the manager.
    std::shared_ptr<kzp::QuillUI> option(kzp::PanePlugInMgr& m, const std::string& keyword,
                                         const std::vector<std::string>& choices, const std::string& def) {
        kz::Array list;
        for (const auto& c : choices) list.push_back(kz::Dictionary{{"choice", c}, {"text", c}});
        auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 40));
        control->setControlDictionary(kz::Dictionary{{"mainKeyword", keyword}, {"control_type", "PopupButton"},
                                                     {"text", keyword}, {"choices", list}, {"default", def}});
        control->updateControl();
        m.setQuillUiToQuillMgr(control);
        return control;
    }
};

TEST_F(Options, DefaultColorModelIsCmyk2OnlyWhenThePpdListsIt) {
    auto& m = mgr();
    option(m, "ColorModel", {"CMYK", "CMYK2", "Gray"}, "CMYK");
    option(m, "Staple", {"Off", "On"}, "On");
    EXPECT_EQ(m.selectedOptionKeyword("ColorModel"), kz::Value("CMYK2"));
    EXPECT_EQ(m.selectedOptionKeyword("Staple"), kz::Value("On"));
    EXPECT_EQ(m.defaultSettings().get("ColorModel"), kz::Value("CMYK"));  // the cache itself is untouched
    // The cache holds the values first asked for.
    m.setStringValue(std::string("Off"), "Staple");
    EXPECT_EQ(m.selectedOptionKeyword("Staple"), kz::Value("On"));

    writeText(f.resources() + "/Test.ppd", ppd(false));
    auto& other = mgr();
    option(other, "ColorModel", {"CMYK", "Gray"}, "CMYK");
    EXPECT_EQ(other.selectedOptionKeyword("ColorModel"), kz::Value("CMYK"));
}

TEST_F(Options, ExistenceAndAliasesComeFromThePpd) {
    auto& m = mgr();
    ASSERT_NE(m.ppdInformation(), nullptr);
    EXPECT_TRUE(m.isExistsInPpd(std::string("Staple"), std::nullopt));
    EXPECT_TRUE(m.isExistsInPpd(std::string("Staple"), std::string("On")));
    EXPECT_FALSE(m.isExistsInPpd(std::string("Staple"), std::string("Twice")));
    EXPECT_FALSE(m.isExistsInPpd(std::nullopt, std::string("On")));
    std::optional<std::string> main, opt;
    m.getAlias(&main, &opt, std::string("Staple"), std::string("On"));
    EXPECT_EQ(main, "Stapling");
    EXPECT_EQ(opt, "One");
    m.getAlias(&main, &opt, std::string("Staple"), std::nullopt);
    EXPECT_EQ(opt, std::nullopt);
    m.getAlias(&main, &opt, std::nullopt, std::string("On"));
    EXPECT_EQ(main, std::nullopt);

    // Texts the PPD lacks come from the pane's strings, then the plug-in's.
    writeText(f.temp / "Pane.bundle/Contents/Resources/en.lproj/UI.strings",
              "\"JobName\" = \"Job Name\";\n\"Mine\" = \"My Choice\";\n");
    writeText(f.resources() + "/en.lproj/Localizable.strings", "\"Shared\" = \"Shared Choice\";\n");
    auto pane = kz::Bundle::open(f.temp / "Pane.bundle");
    pane->setLanguages({"en"});
    EXPECT_EQ(m._mainAlias("JobName", pane.get(), nullptr), "Job Name");
    EXPECT_EQ(m._mainAlias("Staple", pane.get(), nullptr), "Stapling");
    EXPECT_EQ(m._optionAlias("JobName", "Mine", pane.get(), nullptr, nullptr, nullptr, nullptr), "My Choice");
    EXPECT_EQ(m._optionAlias("JobName", "Shared", pane.get(), nullptr, nullptr, nullptr, nullptr), "Shared Choice");
    EXPECT_EQ(m._optionAlias("JobName", "Other", pane.get(), nullptr, nullptr, nullptr, nullptr), "Other");
    EXPECT_EQ(m._optionAlias("JobName", "Other", nullptr, nullptr, nullptr, nullptr, nullptr), std::nullopt);
}

TEST_F(Options, ProfileAliasNamesTheNumberAndTheProfileValue) {
    auto& m = mgr();
    kzp::ProfileUiInformations info{{"Tray", {"Tray%d", 2, nullptr, std::string("TrayName%d")}}};
    kz::Dictionary profile{{"TrayName2", "Glossy"}};
    auto alias = [&](const char* option, const kzp::ProfileUiInformations& infos, const kz::Dictionary* values) {
        return m._optionAlias("Tray", option, nullptr, nullptr, nullptr, &infos, values);
    };
    // The PPD's last choice Tray2 "Tray 2": keyword prefix "Tray", title prefix "Tray ".
    EXPECT_EQ(alias("Tray2", info, nullptr), "Tray 2");
    EXPECT_EQ(alias("Tray2", info, &profile), "2-Glossy");
    EXPECT_EQ(alias("Tray1", info, &profile), "Tray 1") << "no profile value for 1: the PPD's text";
    EXPECT_EQ(alias("Other1", info, nullptr), std::nullopt);
    // A pattern from a pane is never a printf format.
    kzp::ProfileUiInformations hostile{{"Tray", {"Tray%d", 2, nullptr, std::string("%s%s%n%d")}}};
    EXPECT_EQ(alias("Tray2", hostile, &profile), "Tray 2");
}

TEST_F(Options, SummaryMapsPpdAliasesAndLeavesOutOtherKeys) {
    auto& m = mgr();
    kz::Dictionary option{{"Staple", "On"},
                          {"JobName", "report.pdf"},
                          {"VLSpecificJobName", "True"},
                          {"Sort", true},
                          {"Speed", "Z"}};
    auto summary = m.summaryInfoFromPrintOption(&option);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->size(), 2u);
    EXPECT_EQ(summary->get("Stapling"), kz::Value("One"));
    EXPECT_EQ(summary->get("Sorting"), kz::Value("Yes"));
    EXPECT_EQ(m.summaryInfoFromPrintOption(nullptr), std::nullopt);
}

TEST_F(Options, WithoutPpdEveryAnswerIsEmpty) {
    fs::remove(f.resources() + "/Test.ppd");
    auto& m = mgr();
    EXPECT_EQ(m.ppdInformation(), nullptr);
    EXPECT_FALSE(m.isExistsInPpd(std::string("Staple"), std::nullopt));
    kz::Dictionary option{{"Staple", "On"}};
    EXPECT_TRUE(m.summaryInfoFromPrintOption(&option)->empty());
    writeText(f.resources() + "/Test.ppd", ppd(true));
    EXPECT_NE(m.ppdInformation(), nullptr);  // retried on the next request
}

TEST_F(Options, SliderPositionsRunAgainstTheChoices) {
    auto& m = mgr();
    auto slider = std::make_shared<kz::Slider>(kz::Rect(0, 0, 100, 20));
    m._buildControl(slider.get(), std::string("Speed"), std::string("Speed"));
    EXPECT_EQ(slider->maxValue(), 2);
    EXPECT_EQ(slider->numberOfTickMarks(), 3);
    slider->setDoubleValue(0);
    EXPECT_EQ(m.getValueFromControl(slider.get()), kz::Value("C"));
    m._setValueToControl(slider.get(), kz::Value("B"));
    EXPECT_EQ(slider->doubleValue(), 1);
    m._setValueToControl(slider.get(), kz::Value("A"));
    EXPECT_EQ(slider->doubleValue(), 2);
    m._setValueToControl(slider.get(), kz::Value("Z"));
    EXPECT_EQ(slider->doubleValue(), 2);
    // Without a title the slider carries no list and reads nothing.
    auto bare = std::make_shared<kz::Slider>(kz::Rect(0, 0, 100, 20));
    m._buildControl(bare.get(), std::string("Speed"), std::nullopt);
    EXPECT_TRUE(m.getValueFromControl(bare.get()).isNull());
}

TEST_F(Options, PopUpsAndRadioMatricesCarryTheChoices) {
    auto& m = mgr();
    auto popup = std::make_shared<kz::PopUpButton>(kz::Rect(0, 0, 100, 20));
    popup->addItemWithTitle("stale");
    m._buildControl(popup.get(), std::string("Staple"), std::nullopt);
    ASSERT_EQ(popup->numberOfItems(), 2);
    EXPECT_EQ(popup->itemAtIndex(1)->title(), "One");
    m._setValueToControl(popup.get(), kz::Value("On"));
    EXPECT_EQ(m.getValueFromControl(popup.get()), kz::Value("On"));
    m._setValueToControl(popup.get(), kz::Value("Twice"));
    EXPECT_EQ(m.getValueFromControl(popup.get()), kz::Value("On"));

    auto matrix = std::make_shared<kz::Matrix>(kz::Rect(0, 0, 100, 60), kz::MatrixMode::Radio, nullptr, 2, 2);
    m._buildControl(matrix.get(), std::string("ColorModel"), std::nullopt);
    EXPECT_EQ(matrix->cellAtRow(0, 1)->title(), "Color (Fine)");
    EXPECT_EQ(matrix->cellAtRow(1, 0)->representedObject(), kz::Value("Gray"));
    m._setValueToControl(matrix.get(), kz::Value("Gray"));
    EXPECT_EQ(m.getValueFromControl(matrix.get()), kz::Value("Gray"));
    // Several matching cells: the last in row order stays selected.
    matrix->cellAtRow(1, 1)->setRepresentedObject(kz::Value("Gray"));
    m._setValueToControl(matrix.get(), kz::Value("Gray"));
    EXPECT_EQ(matrix->selectedCell(), matrix->cellAtRow(1, 1));
}

TEST_F(Options, CheckBoxesWithAndWithoutChoiceLists) {
    auto& m = mgr();
    auto box = [] {
        auto b = std::make_shared<kz::Button>(kz::Rect(0, 0, 100, 20));
        b->setButtonType(kz::ButtonType::Switch);
        return b;
    };
    auto pickOne = box();
    m._buildControl(pickOne.get(), std::string("Staple"), std::nullopt);
    EXPECT_EQ(m.getValueFromControl(pickOne.get()), kz::Value("Off"));
    m._setValueToControl(pickOne.get(), kz::Value("On"));
    EXPECT_EQ(pickOne->state(), 1);
    EXPECT_EQ(m.getValueFromControl(pickOne.get()), kz::Value("On"));
    m._setValueToControl(pickOne.get(), kz::Value("Unknown"));
    EXPECT_EQ(pickOne->state(), 0);

    auto boolean = box();
    m._buildControl(boolean.get(), std::string("Sort"), std::nullopt);
    EXPECT_EQ(m.getValueFromControl(boolean.get()), kz::Value(false));
    m._setValueToControl(boolean.get(), kz::Value("True"));
    EXPECT_EQ(boolean->state(), 1);
    m._setValueToControl(boolean.get(), kz::Value("true"));  // only the exact text
    EXPECT_EQ(boolean->state(), 0);
    m._setValueToControl(boolean.get(), kz::Value(true));
    EXPECT_EQ(boolean->state(), 1);

    auto shortList = box();
    shortList->cell()->setRepresentedObject(
        kz::Dictionary{{"mainKeyword", "X"}, {"optionKeywords", kz::Array{kz::Value("Only")}}});
    EXPECT_TRUE(m.getValueFromControl(shortList.get()).isNull());
}

TEST_F(Options, PasswordAndEscapingTextFields) {
    auto& m = mgr();
    auto secure = std::make_shared<kz::SecureTextField>(kz::Rect(0, 0, 100, 20));
    secure->setStringValue("s3cret");
    kz::Value stored = m.getValueFromControl(secure.get());
    ASSERT_TRUE(stored.isString());
    EXPECT_NE(stored.string(), "s3cret");
    EXPECT_EQ(kzp::decryptString(kzp::kPasswordScrambleKey, stored.string()), "s3cret");
    secure->setStringValue("");
    m._setValueToControl(secure.get(), stored);
    EXPECT_EQ(secure->stringValue(), "s3cret");

    auto field = std::make_shared<kz::TextField>(kz::Rect(0, 0, 100, 20));
    m._buildControl(field.get(), std::string("Memo"), std::string("Memo"));
    EXPECT_EQ(m.representedObject(field.get(), "mainKeyword"), kz::Value("Memo"));
    m._setValueToControl(field.get(), kz::Value("plain"));
    EXPECT_EQ(m.getValueFromControl(field.get()), kz::Value("plain"));
    m._setValueToControl(field.get(), kz::Value(42));
    EXPECT_EQ(field->stringValue(), "42");
    m._setValueToControl(field.get(), kz::Value(kz::Array{}));
    EXPECT_EQ(field->stringValue(), "42");
}

TEST_F(Options, RestoreTellsPageAndLayoutAndLoadsEveryView) {
    struct PagePane : TestPane, kzp::PaneAutomaticPaperTraySelection {
        int writes = 0;
        void writeAutomaticPapaerTraySelection() override { ++writes; }
    };
    struct LayoutPane : TestPane, kzp::PaneWillShow {
        int shown = 0;
        void willShow() override { ++shown; }
    };
    PagePane* page = nullptr;
    LayoutPane* layout = nullptr;
    RegisteredClass pageClass("TestPagePane", [&] { return page = new PagePane(); });
    RegisteredClass layoutClass("TestLayoutPane", [&] { return layout = new LayoutPane(); });
    RegisteredClass other("TestPane");
    f.pane("Page", "TestPagePane");
    f.pane("Layout", "TestLayoutPane");
    f.pane("Other", "TestPane");
    auto& m = mgr();
    kz::Dictionary values{{"Staple", "Off"}};
    EXPECT_TRUE(m.restorePrintOptionValues(&values));  // no pane yet: nothing happens
    ASSERT_TRUE(m.loadPlugIns());
    auto staple = option(m, "Staple", {"Off", "On"}, "On");
    EXPECT_TRUE(m.restorePrintOptionValues(&values));
    EXPECT_EQ(m.getStringValueFromKey("Staple"), "Off");
    EXPECT_EQ(page->writes, 1);
    EXPECT_EQ(layout->shown, 1);
    EXPECT_EQ(other.made.front()->viewLoads, 1);
    EXPECT_EQ(page->viewLoads, 1);
    EXPECT_TRUE(m.restorePrintOptionValues(nullptr));
    EXPECT_EQ(page->writes, 1);
}

}  // namespace
