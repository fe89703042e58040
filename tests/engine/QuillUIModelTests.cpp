// The value model of option controls: reading and writing by type, what user
// actions announce, enabling by sources, pop-up lists.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "QuillUITestSupport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"

using namespace quilltest;
using kzp::OptionalText;

TEST(QuillUICheckBox, ReadsAndWritesTheTwoChoicesAndAnnouncesTheUsersChoice) {
    auto c = build("Staple");
    EXPECT_EQ(c->checkBox()->state(), kz::OnState);
    EXPECT_EQ(c->getStringValue(), "True");
    c->setStringValue("False");
    EXPECT_EQ(c->checkBox()->state(), kz::OffState);
    EXPECT_EQ(c->getSelectedOptionText(), "Off");
    c->setStringValue("Maybe");  // no choice: the box keeps its state
    EXPECT_EQ(c->checkBox()->state(), kz::OffState);
    EXPECT_EQ(c->getOptionText("True"), "On");

    Recorder rec;
    ASSERT_TRUE(c->checkBox()->performClick());
    ASSERT_EQ(rec.posts.size(), 1u);
    EXPECT_EQ(rec.posts[0].name, "Staple");
    EXPECT_EQ(rec.posts[0].sender, c.get());
    EXPECT_EQ(rec.posts[0].userInfo.get("Paramater"), kz::Value("True"));
    EXPECT_EQ(c->value(), "True");
}

TEST(QuillUICheckBox, InvertedBoxShowsTheOppositeButKeepsTheValue) {
    auto c = build("Inverted");
    EXPECT_EQ(c->getStringValue(), "Yes");
    EXPECT_EQ(c->checkBox()->state(), kz::OffState);
    EXPECT_EQ(c->checkBoxState(), 1);
    c->checkBox()->performClick();
    EXPECT_EQ(c->getStringValue(), "No");
}

TEST(QuillUICheckBox, WithoutBoxLogsAndReadsAsOn) {
    kzp::QuillUI empty;
    kz::LogCapture log;
    EXPECT_EQ(empty.checkBoxState(), 1);
    empty.setCheckBoxState(false);
    EXPECT_EQ(log.lines().size(), 2u);
    EXPECT_TRUE(log.contains("### checkbox object is invalid"));
}

TEST(QuillUICheckBox, StateIconsFollowTheBox) {
    auto bundle = kz::Bundle::open(dataPath("Quill.plugin"));
    auto c = build("Icons", 300, 200, bundle);
    ASSERT_TRUE(c->trueIconView() && c->falseIconView());
    EXPECT_FALSE(c->trueIconView()->isHidden());
    EXPECT_TRUE(c->falseIconView()->isHidden());
    EXPECT_EQ(c->trueIconView()->image()->size(), (kz::Size{24, 24}));
    EXPECT_EQ(c->trueIconView()->image()->name(), "Icons_True");
    c->checkBox()->performClick();  // off: the false icon, children disabled
    EXPECT_TRUE(c->trueIconView()->isHidden());
    EXPECT_FALSE(c->falseIconView()->isHidden());
    ASSERT_EQ(c->childControls().size(), 1u);
    EXPECT_FALSE(c->childControls()[0]->isEnabled());
}

TEST(QuillUIPopup, SeparatorsAndEmptyEntriesDoNotShiftTheValues) {
    auto c = build("Tray");
    auto* p = c->popupButton();
    EXPECT_EQ(p->itemTitles(), (std::vector<std::string>{"Automatic", "", "Upper tray", "Lower tray"}));
    EXPECT_TRUE(p->itemAtIndex(1)->isSeparatorItem());
    EXPECT_EQ(c->getStringValue(), "Upper");
    Recorder rec;
    ASSERT_TRUE(p->chooseItemAtIndex(3));
    EXPECT_EQ(c->value(), "Lower");
    ASSERT_EQ(rec.posts.size(), 1u);
    EXPECT_EQ(rec.posts[0].sender, c.get());
    EXPECT_EQ(rec.posts[0].userInfo.get("Paramater"), kz::Value("Lower"));
}

TEST(QuillUIPopup, UnknownValueKeepsSelectionAndBecomesTheUnsupportedValue) {
    auto c = build("Tray");
    c->setStringValue("Bypass");
    EXPECT_EQ(c->popupButton()->titleOfSelectedItem(), "Upper tray");
    EXPECT_EQ(c->getUnsportValue(), "Bypass");
    EXPECT_EQ(c->getStringValue(), "Upper");  // the widget still reads its item
    c->setStringValue("Auto");
    EXPECT_EQ(c->getUnsportValue(), std::nullopt);
    EXPECT_EQ(c->getOptionText("Lower"), "Lower tray");
    EXPECT_EQ(c->getOptionText("Nope"), std::nullopt);
}

TEST(QuillUIPopup, DisablingTheSelectedItemMovesToTheFirstEnabledAndAnnouncesIt) {
    auto c = build("Tray");
    Recorder rec;
    c->setEnabledByDictionary(kz::Dictionary{{"Upper", false}, {"Lower", true}});
    EXPECT_FALSE(c->popupButton()->autoenablesItems());
    EXPECT_EQ(c->getStringValue(), "Lower");
    ASSERT_EQ(rec.posts.size(), 1u);
    EXPECT_EQ(rec.posts[0].userInfo.get("Paramater"), kz::Value("Lower"));
    // Still enabled: nothing moves, nothing is posted.
    c->setEnabledByDictionary(kz::Dictionary{{"Auto", true}, {"Lower", true}});
    EXPECT_EQ(rec.posts.size(), 1u);
    // Nothing enabled: the selection stays.
    c->setEnabledByDictionary(kz::Dictionary{});
    EXPECT_EQ(c->getStringValue(), "Lower");
}

TEST(QuillUIPopup, ItemListsReplaceTheChoices) {
    auto bundle = kz::Bundle::open(dataPath("Quill.plugin"));
    auto c = build("Tray", 300, 200, bundle);
    c->setPopupButtonArray({});  // empty: nothing changes
    EXPECT_FALSE(c->popupButtonArray());
    c->setPopupButtonArray({{"Tray", "T1"}, {"Bypass", "BP"}});
    EXPECT_EQ(c->popupButton()->itemTitles(), (std::vector<std::string>{"Paper tray", "Bypass"}));
    c->setStringValue("BP");
    EXPECT_EQ(c->getStringValue(), "BP");
    EXPECT_EQ(c->getUnsportValue(), std::nullopt);

    c->addPopupButtonArray({{"Extra", "X"}});
    EXPECT_EQ(c->popupButton()->itemTitles(),
              (std::vector<std::string>{"Automatic", "Top", "Lower tray", "Extra"}));
    c->removePopupButtonArray({"Auto", "Lower"});
    EXPECT_EQ(c->popupButton()->itemTitles(), (std::vector<std::string>{"Top"}));
    EXPECT_EQ(c->popupButtonArray()->at(0).value, "Upper");

    kz::LogCapture log;
    c->addPopupButtonArray({});
    c->removePopupButtonArray({});
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"### ## Invalid list!", "### ## Invalid list!"}));
}

TEST(QuillUIRadio, CellsCarryTheValueAndTheUsersClickIsAnnounced) {
    auto c = build("Duplex");
    EXPECT_EQ(c->getStringValue(), "None");
    c->setStringValue("Short");
    EXPECT_EQ(c->radioButtonMatrix()->cellAtRow(2, 0)->state(), kz::OnState);
    EXPECT_EQ(c->getSelectedOptionText(), "Short edge");
    c->setStringValue("Tumble");  // unknown: every cell off, value kept aside
    EXPECT_EQ(c->getUnsportValue(), "Tumble");
    EXPECT_EQ(c->getSelectedOptionText(), std::nullopt);
    EXPECT_EQ(c->getStringValue(), "Tumble");

    Recorder rec;
    ASSERT_TRUE(c->radioButtonMatrix()->clickCellAtRow(1, 0));
    EXPECT_EQ(c->value(), "Long");
    ASSERT_EQ(rec.posts.size(), 1u);
    EXPECT_EQ(rec.posts[0].name, "Duplex");
    EXPECT_EQ(rec.posts[0].sender, nullptr);
    EXPECT_TRUE(rec.posts[0].userInfo.empty());
}

TEST(QuillUIRadio, SelectionIsRestoredOnceMoreInTheModalPanelMode) {
    auto c = build("Duplex");
    kz::RunLoop::current().cancelAll();
    c->setStringValue("Book");
    c->radioButtonMatrix()->cellAtRow(3, 0)->setState(kz::OffState);  // a modal run loses it
    kz::RunLoop::current().runMode(kz::RunLoop::kDefaultMode);
    EXPECT_EQ(c->radioButtonMatrix()->cellAtRow(3, 0)->state(), kz::OffState);
    kz::RunLoop::current().runMode(kz::RunLoop::kModalPanelMode);
    EXPECT_EQ(c->radioButtonMatrix()->cellAtRow(3, 0)->state(), kz::OnState);
    // Many changes while no modal session runs leave one pending selection,
    // which holds the latest value.
    for (int i = 0; i < 100; ++i) c->setStringValue(i % 2 ? "Long" : "Short");
    EXPECT_EQ(kz::RunLoop::current().pendingCount(), 1u);
    c->radioButtonMatrix()->cellAtRow(1, 0)->setState(kz::OffState);
    kz::RunLoop::current().runMode(kz::RunLoop::kModalPanelMode);
    EXPECT_EQ(c->radioButtonMatrix()->cellAtRow(1, 0)->state(), kz::OnState);
}

TEST(QuillUIRadio, HorizontalColumnReportsItsUsersChoice) {
    auto c = build("Orientation");
    EXPECT_EQ(c->getStringValue(), "Portrait");
    c->radioButtonMatrix()->clickCellAtRow(1, 0);
    EXPECT_EQ(c->getStringValue(), "Landscape");
    c->setStringValue("Portrait");
    EXPECT_EQ(c->radioButtonMatrix()->cellAtRow(0, 0)->state(), kz::OnState);
}

TEST(QuillUIValues, ControlWithoutTypeHasNoValue) {
    auto c = build("Title");
    EXPECT_EQ(c->getStringValue(), std::nullopt);
    EXPECT_TRUE(c->isEnabled());
    EXPECT_EQ(c->getDefault(), std::nullopt);
    EXPECT_EQ(c->getChoicesCount(), -1);
}

TEST(QuillUIValues, DefaultOldValueAndUpdateValue) {
    auto c = build("Duplex");
    Recorder rec;
    c->setStringValue("Long");
    c->setDefault();
    EXPECT_EQ(c->value(), "None");
    ASSERT_EQ(rec.posts.size(), 1u);
    EXPECT_EQ(rec.posts[0].name, "Duplex");
    EXPECT_EQ(c->getOldValue(), std::nullopt);
    c->updateOldValue();
    EXPECT_EQ(c->getOldValue(), "None");
    c->updateValue("Book");
    EXPECT_EQ(c->getStringValue(), "Book");
    EXPECT_EQ(c->getOldValue(), "None");
}

TEST(QuillUIValues, SharedPrintOptionUpdatesOnlyControlsItNames) {
    auto duplex = build("Duplex");
    auto staple = build("Staple");
    kzp::QuillUI::setUpdateWithPrintOption(kz::Dictionary{{"Duplex", "Short"}, {"Staple", false}});
    EXPECT_TRUE(duplex->updateWithPrintOption());
    EXPECT_EQ(duplex->getOldValue(), "Short");
    EXPECT_TRUE(staple->updateWithPrintOption());  // a boolean is exchanged as "True"/"False"
    EXPECT_EQ(staple->getStringValue(), "False");
    auto tray = build("Tray");
    EXPECT_FALSE(tray->updateWithPrintOption());
    kzp::QuillUI::setUpdateWithPrintOption(std::nullopt);
    EXPECT_FALSE(duplex->updateWithPrintOption());
}

TEST(QuillUIValues, NumberFieldKeepsItsDecimalsAndTheStepperFollows) {
    auto c = build("Copies");
    EXPECT_EQ(c->textField()->stringValue(), "1.00");
    c->setStringValue("2.5");  // other decimals: formatted to the field's two
    EXPECT_EQ(c->textField()->stringValue(), "2.50");
    EXPECT_DOUBLE_EQ(c->stepper()->doubleValue(), 2.5);
    c->setDoubleValue(3);
    EXPECT_EQ(c->getStringValue(), "3.00");
    Recorder rec;
    c->stepper()->stepUp();
    EXPECT_EQ(c->textField()->stringValue(), "3.01");
    ASSERT_EQ(rec.posts.size(), 1u);
    EXPECT_EQ(rec.posts[0].sender, nullptr);
    c->textField()->setStringValue("7.25");
    c->controlTextDidChange({c->textField(), nullptr});
    EXPECT_DOUBLE_EQ(c->stepper()->doubleValue(), 7.25);

    c->updateMin(1, 50);
    EXPECT_EQ(c->descriptionText()->stringValue(), "(1.00 to 50.00)");
    EXPECT_DOUBLE_EQ(c->stepper()->maxValue(), 50);
}

TEST(QuillUIValues, TextFieldsAndTheirButton) {
    auto c = build("JobName");
    EXPECT_EQ(c->getStringValue(), "Report");
    EXPECT_TRUE(c->isEmptycheck());
    c->setStringValue("");
    EXPECT_FALSE(c->isEmptycheck());
    Recorder rec;
    c->pushButton()->performClick();
    ASSERT_EQ(rec.posts.size(), 1u);
    EXPECT_EQ(rec.posts[0].name, "JobName_Button");
    auto secret = build("Secret");
    EXPECT_TRUE(secret->textField()->isSecure());
    EXPECT_TRUE(secret->textField()->isHidden());
    EXPECT_EQ(secret->getSelectedOptionText(), std::nullopt);
}

TEST(QuillUIValues, SliderByChoicesOrByIntegerRange) {
    auto c = build("Density");
    EXPECT_EQ(c->getStringValue(), "Dark");
    EXPECT_DOUBLE_EQ(c->slider()->doubleValue(), 2);
    c->setStringValue("Nope");
    EXPECT_DOUBLE_EQ(c->slider()->doubleValue(), 2);
    c->slider()->moveTo(0.9);
    EXPECT_EQ(c->getStringValue(), "Normal");
    auto level = build("Level");
    EXPECT_EQ(level->getStringValue(), "4");
    level->setStringValue("7");
    EXPECT_EQ(level->getStringValue(), "7");
}

TEST(QuillUIDates, ExpressionsAndSynchronisedPickers) {
    auto c = build("Hold");
    ASSERT_EQ(c->getDatePickers().size(), 4u);
    for (const auto& p : c->getDatePickers()) EXPECT_EQ(p->dateValue().unixTime(), 0);
    EXPECT_EQ(c->getStringValue(), "0");
    c->setStringValue("86400.7");
    EXPECT_EQ(c->getStringValue(), "86400");
    Recorder rec;
    c->getDatePickers()[2]->pick(kz::Date::fromUnix(1000));
    for (const auto& p : c->getDatePickers()) EXPECT_EQ(p->dateValue().unixTime(), 1000);
    EXPECT_EQ(rec.posts.size(), 1u);
    c->getDatePickers()[0]->pick(kz::Date::fromUnix(-50));  // before "min": held at it
    EXPECT_EQ(c->getStringValue(), "0");

    double before = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    auto later = build("Later");
    double after = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    double shown = kz::doubleValueOfText(*later->getStringValue());
    EXPECT_GE(shown, std::floor(before) + 3600);
    EXPECT_LE(shown, after + 3600);
    EXPECT_EQ(kzp::QuillUI::datePickerDictionaryValueToStringValue(kz::Value("1e300")), "9000000000000000000");
}

TEST(QuillUIEnabling, EverySourceThatDisabledMustEnableAgain) {
    auto c = build("Tray");
    c->setEnabled(false, "A");
    c->setEnabled(false, "B");
    c->setEnabled(false, "A");  // counted once
    c->setEnabled(true, "A");
    EXPECT_FALSE(c->isEnabled());
    c->setEnabled(true, "C");  // never disabled it: changes nothing
    EXPECT_FALSE(c->isEnabled());
    c->setEnabled(true, "B");
    EXPECT_TRUE(c->isEnabled());
    EXPECT_EQ(c->labelText()->textColor().name, "selectedControlTextColor");
    c->setEnabled(false);
    EXPECT_EQ(c->labelText()->textColor().name, "disabledControlTextColor");
}

TEST(QuillUIEnabling, LogicalSumSourcesAreJoinedByOr) {
    auto c = build("Tray");
    c->setEnabledPositively(false, "X");  // no sources yet: disabled
    EXPECT_FALSE(c->isEnabled());
    c->setEnabledPositively(true, "A");
    c->setEnabledPositively(true, "B");
    EXPECT_TRUE(c->isEnabled());
    c->setEnabledPositively(false, "A");
    EXPECT_TRUE(c->isEnabled());
    c->setEnabledPositively(false, "X");  // not among the sources: nothing
    EXPECT_TRUE(c->isEnabled());
    c->setEnabledPositively(false, "B");
    EXPECT_FALSE(c->isEnabled());
    c->setEnabledPositively(true, "A");
    EXPECT_TRUE(c->isEnabled());
}

TEST(QuillUIEnabling, HidingAndChildSwitching) {
    auto parent = build("Parent", 300, 300);
    ASSERT_EQ(parent->childControls().size(), 3u);
    for (const auto& child : parent->childControls()) EXPECT_FALSE(child->isEnabled());  // default "A"
    parent->popupButton()->chooseItemAtIndex(1);
    parent->getStringValue();
    parent->setStringValue("B");
    for (const auto& child : parent->childControls()) EXPECT_TRUE(child->isEnabled());
    EXPECT_EQ(parent->getChildQuillUI("ChildB"), parent->childControls()[1].get());
    EXPECT_EQ(parent->getChildQuillUI("Nope"), nullptr);

    parent->setHidden(true);
    EXPECT_TRUE(parent->isHidden());
    EXPECT_TRUE(parent->labelText()->isHidden());
    EXPECT_FALSE(parent->View::isHidden());
    parent->setHidden(false);
    EXPECT_FALSE(parent->popupButton()->isHidden());

    auto hold = build("Hold");
    hold->setHidden(true);  // date pickers keep showing
    EXPECT_FALSE(hold->getDatePickers()[0]->isHidden());
    EXPECT_TRUE(hold->isHidden());  // no widget of the list: reported hidden
}

TEST(QuillUIEnabling, DisabledRadioCells) {
    kz::Dictionary d = descriptions().get("Duplex").dictionary();
    d.set("disableForPDE", kz::Array{kz::Value("Long"), kz::Value("Book")});
    auto c = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
    c->createControls(d);
    c->disableForPDE();
    auto cells = c->radioButtonMatrix()->cells();
    EXPECT_TRUE(cells[0]->isEnabled());
    EXPECT_FALSE(cells[1]->isEnabled());
    EXPECT_FALSE(cells[3]->isEnabled());
    EXPECT_FALSE(c->radioButtonMatrix()->clickCellAtRow(1, 0));
}

TEST(QuillUIValues, MainKeywordTypeNamesCheckBoxDescriptions) {
    kz::Dictionary file = descriptions();
    kz::Dictionary staple = file.get("Staple").dictionary();
    staple.set("defchoice", "False");
    file.set("Staple", staple);
    EXPECT_EQ(kzp::QuillUI::getMainKeywordType(file, "Staple"), "checkbox");
    EXPECT_EQ(kzp::QuillUI::getMainKeywordType(file, "Inverted"), "unknown");
    EXPECT_EQ(kzp::QuillUI::getMainKeywordType(file, "Missing"), "unknown");
}

TEST(QuillUIValues, TypesAreExactNamesAnythingElseIsATitleLine) {
    using Kind = kzp::QuillUI::Kind;
    EXPECT_EQ(kzp::QuillUI::kindOf("CheckBox"), Kind::CheckBox);
    EXPECT_EQ(kzp::QuillUI::kindOf("HRadioButton"), Kind::HRadioButton);
    EXPECT_EQ(kzp::QuillUI::kindOf("TextField_number"), Kind::NumberField);
    EXPECT_EQ(kzp::QuillUI::kindOf("SecureTextField_text"), Kind::SecureTextField);
    // A near miss builds no widget, so nothing may read, write or size one.
    for (const char* type : {"CheckBoxes", "checkbox", "TextField", "TextField_date", "SecureTextField", ""}) {
        EXPECT_EQ(kzp::QuillUI::kindOf(type), Kind::TitleLine) << type;
        kz::Dictionary d = descriptions().get("Staple").dictionary();
        d.set("control_type", type);
        auto c = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 200));
        c->setControlDictionary(d);
        c->updateControl();
        EXPECT_EQ(c->kind(), Kind::TitleLine) << type;
        EXPECT_EQ(c->checkBox(), nullptr) << type;
        EXPECT_EQ(c->textField(), nullptr) << type;
        EXPECT_EQ(c->getControlHeight(), 0) << type;
        c->setStringValue("False");
        EXPECT_EQ(c->getStringValue(), "False") << type;  // the value as set, no widget to read
        EXPECT_EQ(c->getSelectedOptionText(), std::nullopt) << type;
    }
}
