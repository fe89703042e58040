// The device option updater: the server's feeder, stacker and device rows
// made into the items of the tray and finishing pop-ups.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/trays/IOTOptionUpdater.h"

namespace {

namespace kzp = ComTORVALEKZ2R4_Plugin;
using kzp::IOTOptionUpdater;
using kzp::PopupButtonItems;

kz::Value rows(std::initializer_list<std::vector<std::string>> list) {
    kz::Array out;
    for (const auto& row : list) {
        kz::Array cells;
        for (const auto& cell : row) cells.emplace_back(cell);
        out.emplace_back(std::move(cells));
    }
    return kz::Value(std::move(out));
}

std::vector<std::string> values(const PopupButtonItems& items) {
    std::vector<std::string> out;
    for (const auto& item : items) out.push_back(item.value);
    return out;
}

std::vector<std::string> values(const kzp::QuillUI& control) {
    return control.popupButtonArray() ? values(*control.popupButtonArray()) : std::vector<std::string>{};
}

PopupButtonItems slots(const kz::Value& feeders) {
    PopupButtonItems items;
    IOTOptionUpdater::getInputSlotArray(items, feeders, {"0"}, {"25"}, true, false);
    return items;
}

PopupButtonItems outputTrays(const kz::Value& stackers) {
    PopupButtonItems items;
    IOTOptionUpdater::getOutputTrayArray(items, stackers);
    return items;
}

// A pop-up control described with the choices (an empty choice keyword is
// allowed: some descriptions have an item without one).
std::shared_ptr<kzp::QuillUI> popup(const std::string& keyword, const std::vector<std::string>& choices,
                                    const std::string& defaultChoice) {
    kz::Array entries;
    for (const auto& c : choices)
        entries.emplace_back(kz::Dictionary{{"choice", kz::Value(c)}, {"text", kz::Value(c.empty() ? "(none)" : c)}});
    kz::Dictionary description{{"mainKeyword", kz::Value(keyword)},
                               {"control_type", kz::Value("PopupButton")},
                               {"text", kz::Value(keyword)},
                               {"choices", kz::Value(std::move(entries))},
                               {"default", kz::Value(defaultChoice)}};
    auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 48));
    control->setControlDictionary(std::move(description));
    control->updateControl();
    return control;
}

bool update(kzp::QuillUI& control, const kz::Value& deviceRows,
            void (*groups)(IOTOptionUpdater::Groups&, IOTOptionUpdater::Groups&)) {
    auto devices = IOTOptionUpdater::convertArrayToDict(deviceRows);
    IOTOptionUpdater::Groups keyDevices, keyOptions;
    groups(keyDevices, keyOptions);
    return IOTOptionUpdater::updatePopupButtonComponent(&control, devices ? &*devices : nullptr, &keyDevices,
                                                        &keyOptions);
}

const std::vector<std::string> kPunches = {"None",          "LeftHoles2",   "RightHoles2",  "MixSizeHoles2",
                                           "LeftHoles3",    "MixSizeHoles3", "LeftHoles4",   "RightHoles4",
                                           "MixSizeHoles4", "LeftHolesMulti"};

}  // namespace

TEST(InputTrays, TrayOneIsOfferedUpFrontUnlessTheServerListsItThenItKeepsItsPlace) {
    EXPECT_EQ(values(slots(rows({{"2", "Number"}, {"3", "Number"}}))),
              (std::vector<std::string>{"AutoSelect", "Tray1", "Tray2", "Tray3", "TrayStock"}));
    EXPECT_EQ(values(slots(rows({{"3", "Number"}, {"1", "Number"}}))),
              (std::vector<std::string>{"AutoSelect", "Tray3", "Tray1", "TrayStock"}));
}

TEST(InputTrays, NumbersFromSevenOnAreShownAsTheTrayBeforeAndUnknownOnesAreSkipped) {
    const PopupButtonItems items = slots(rows({{"7", "Number"}, {"6", "Number"}, {"10", "Number"}, {"12", "Number"}}));
    ASSERT_EQ(values(items), (std::vector<std::string>{"AutoSelect", "Tray1", "Tray6", "Tray9", "TrayStock"}));
    EXPECT_EQ(items[2].title, "トレイ6");
    EXPECT_EQ(items[3].title, "トレイ9");
    EXPECT_EQ(items[0].title, "自動選択");
    EXPECT_EQ(items.back().title, "メディア");
}

TEST(InputTrays, TheOtherTrayOptionsHaveTheirOwnKeywordsAndTheInterposerOnlyWhenAllowed) {
    const kz::Value feeders = rows({{"5", "Number"}, {"9", "Number"}});
    PopupButtonItems without, with;
    IOTOptionUpdater::getInputSlotArray(without, feeders, {"0"}, {"20", "27"}, false);
    IOTOptionUpdater::getInputSlotArray(with, feeders, {"0"}, {}, false, true);
    EXPECT_EQ(values(without), (std::vector<std::string>{"TrayAuto", "Tray1", "TrayMSI", "TrayJobSameTray",
                                                         "TraySystemSetting"}));
    EXPECT_EQ(values(with), (std::vector<std::string>{"TrayAuto", "Tray1", "TrayMSI", "TrayInterposer"}));
    EXPECT_EQ(values(slots(rows({{"5", "Number"}}))), (std::vector<std::string>{"AutoSelect", "Tray1", "Manual", "TrayStock"}));
}

TEST(InputTrays, RowsThatAreNoRowsOfTextsArePassedOver) {
    kz::Array odd;
    odd.emplace_back("2");                        // a text, not a row
    odd.emplace_back(kz::Array{});                // an empty row
    odd.emplace_back(kz::Array{kz::Value(3)});    // a number where the tray's text belongs
    odd.emplace_back(kz::Array{kz::Value("1")});  // a row of one text is a row
    EXPECT_EQ(values(slots(kz::Value(odd))), (std::vector<std::string>{"AutoSelect", "Tray1", "TrayStock"}));
    EXPECT_EQ(values(slots(kz::Value(kz::Dictionary{{"1", kz::Value("Number")}}))),
              (std::vector<std::string>{"AutoSelect", "Tray1", "TrayStock"}));
}

TEST(InputTrays, ATrayListedTwiceOrAlsoAddedByTheMenuIsOfferedOnce) {
    EXPECT_EQ(values(slots(rows({{"2", "Number"}, {"0", "Number"}, {"2", "Number"}, {"25", "Number"}, {"3", "Number"}}))),
              (std::vector<std::string>{"AutoSelect", "Tray1", "Tray2", "TrayStock", "Tray3"}));
    EXPECT_EQ(values(outputTrays(rows({{"9", "Type"}, {"10", "Type"}, {"9", "Type"}, {"10", "Type"}}))),
              (std::vector<std::string>{"Auto", "Stackertray", "Stackertray2", "Autochange"}));
}

TEST(OutputTrays, TheAutomaticStackerChangeFollowsOnlyASecondStackerAfterTheFirst) {
    EXPECT_EQ(values(outputTrays(rows({{"10", "Type"}, {"9", "Type"}}))),
              (std::vector<std::string>{"Auto", "Stackertray2", "Stackertray"}));
    EXPECT_EQ(values(outputTrays(rows({{"9", "Type"}, {"10", "Type"}}))),
              (std::vector<std::string>{"Auto", "Stackertray", "Stackertray2", "Autochange"}));
    EXPECT_EQ(values(outputTrays(rows({{"9", "Type"}, {"6", "Type"}, {"10", "Type"}, {"5", "Type"}}))),
              (std::vector<std::string>{"Auto", "Stackertray", "D3finishertray", "Stackertray2", "Autochange",
                                        "Stackertoptray2"}));
    const PopupButtonItems other = outputTrays(rows({{"16", "Type"}, {"4", "Type"}, {"3", "Type"}, {"99", "Type"}}));
    EXPECT_EQ(values(other), (std::vector<std::string>{"Auto", "Documentfinishing", "Stackertoptray", "D3finishertoptray"}));
    EXPECT_EQ(other[1].title, "外部フィニッシャー");
    EXPECT_TRUE(IOTOptionUpdater::isDocumentfinishing(other));
    EXPECT_FALSE(IOTOptionUpdater::isDocumentfinishing(outputTrays(rows({{"9", "Type"}}))));
}

TEST(Devices, OnlyTheTextTrueEnablesADeviceAndRowsOfAnotherLengthAreIgnored) {
    kz::Value list = rows({{"true", "quadPunch"}, {"True", "zFold"}, {"TRUE", "offset"}, {"1", "triFoldC"},
                           {"true", "doublePunch", "extra"}, {"true"}});
    auto devices = IOTOptionUpdater::convertArrayToDict(list);
    ASSERT_TRUE(devices);
    EXPECT_TRUE(IOTOptionUpdater::isEnableWithDict(&*devices, {"zFold", "quadPunch"}));
    for (const char* key : {"zFold", "offset", "triFoldC", "doublePunch"})
        EXPECT_FALSE(IOTOptionUpdater::isEnableWithDict(&*devices, {key})) << key;
    EXPECT_FALSE(IOTOptionUpdater::isEnableWithDict(&*devices, {}));
    EXPECT_FALSE(IOTOptionUpdater::isEnableWithDict(nullptr, {"quadPunch"}));
    EXPECT_FALSE(IOTOptionUpdater::convertArrayToDict(kz::Value()));
    EXPECT_TRUE(IOTOptionUpdater::convertArrayToDict(rows({}))->empty());
}

TEST(Devices, SaddleStapleAndFoldTestsForThePanes) {
    auto devices = IOTOptionUpdater::convertArrayToDict(rows({{"true", "saddleFoldStaple"}, {"false", "saddleFoldNoStaple"}}));
    EXPECT_TRUE(IOTOptionUpdater::hasStapleForTCBMWithDevice(&*devices));
    EXPECT_FALSE(IOTOptionUpdater::isFoldForTCBM(&*devices));
    kz::Dictionary none;
    EXPECT_FALSE(IOTOptionUpdater::hasStapleForTCBMWithDevice(&none));
    EXPECT_FALSE(IOTOptionUpdater::isFoldForTCBM(nullptr));
}

TEST(Devices, GroupsComeInTheirOrderWithParallelOptionLists) {
    IOTOptionUpdater::Groups devices{{"stale"}}, options{{"stale"}};
    IOTOptionUpdater::getStapleOptionsWithKeyDevices(devices, options);
    ASSERT_EQ(devices.size(), 5u);
    ASSERT_EQ(options.size(), 5u);
    EXPECT_EQ(devices[0], (std::vector<std::string>{"singleTop", "singleBottom"}));
    EXPECT_EQ(options[4], (std::vector<std::string>{"TopEdge4", "BottomEdge4", "LeftEdge4", "RightEdge4"}));
    IOTOptionUpdater::getCreaseModeOptionsWithKeyDevices(devices, options);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(options[0].size(), 10u);
    EXPECT_EQ(options[0][7], "3LineAccordionFold");
    EXPECT_EQ(devices[1], (std::vector<std::string>{"specifiedPositionCreaseAbility"}));
    EXPECT_EQ(options[1], (std::vector<std::string>{"Custom"}));
    IOTOptionUpdater::getFoldOptionsWithKeyDevices(devices, options);
    EXPECT_EQ(options[1], (std::vector<std::string>{"ZfoldRightBind", "ZfoldLeftBind", "MixSizeZfold", ""}));
}

TEST(FinishingControls, OnlyAFourHolePunchLeavesThePunchWithItsFourHoleItems) {
    auto punch = popup("Punch_PunchHoles", kPunches, "None");
    EXPECT_TRUE(update(*punch, rows({{"true", "quadPunch"}, {"false", "doublePunch"}}),
                       IOTOptionUpdater::getPunchOptionsWithKeyDevices));
    EXPECT_FALSE(punch->isHidden());
    EXPECT_EQ(values(*punch), (std::vector<std::string>{"None", "LeftHoles4", "RightHoles4", "MixSizeHoles4"}));
}

TEST(FinishingControls, NoEnabledDeviceOrNoDeviceListHidesTheControl) {
    auto punch = popup("Punch_PunchHoles", kPunches, "None");
    EXPECT_FALSE(update(*punch, rows({{"True", "quadPunch"}, {"false", "doublePunch"}}),
                        IOTOptionUpdater::getPunchOptionsWithKeyDevices));
    EXPECT_TRUE(punch->isHidden());
    auto staple = popup("StapleMode", {"None", "TopLeftCorner", "TopEdge"}, "None");
    staple->setStringValue(std::string("TopLeftCorner"));
    EXPECT_FALSE(update(*staple, rows({{"false", "singleTop"}, {"true", "quadPunch"}}),
                        IOTOptionUpdater::getStapleOptionsWithKeyDevices));
    // Hidden, it cannot keep a choice no device makes.
    EXPECT_TRUE(staple->isHidden());
    EXPECT_EQ(staple->getStringValue(), "None");
    EXPECT_EQ(values(*staple), (std::vector<std::string>{"None"}));
    auto fold = popup("Fold", {"None", "Bifold"}, "None");
    EXPECT_FALSE(update(*fold, kz::Value(), IOTOptionUpdater::getFoldOptionsWithKeyDevices));
    EXPECT_TRUE(fold->isHidden());
    // Shown again when a device turns up.
    EXPECT_TRUE(update(*punch, rows({{"true", "letterPunch"}}), IOTOptionUpdater::getPunchOptionsWithKeyDevices));
    EXPECT_FALSE(punch->isHidden());
    EXPECT_EQ(values(*punch), (std::vector<std::string>{"None", "LeftHolesMulti"}));
}

TEST(FinishingControls, WithoutTheZFoldUnitTheItemWithoutAKeywordGoesToo) {
    auto fold = popup("Fold", {"None", "", "Bifold", "ZfoldRightBind", "C_TrifoldInside"}, "None");
    update(*fold, rows({{"true", "saddleFoldNoStaple"}, {"false", "zFold"}, {"true", "triFoldC"}}),
           IOTOptionUpdater::getFoldOptionsWithKeyDevices);
    EXPECT_EQ(values(*fold), (std::vector<std::string>{"None", "Bifold", "C_TrifoldInside"}));
    auto withZ = popup("Fold", {"None", "", "ZfoldRightBind"}, "None");
    update(*withZ, rows({{"true", "zFold"}}), IOTOptionUpdater::getFoldOptionsWithKeyDevices);
    EXPECT_EQ(values(*withZ), (std::vector<std::string>{"None", "", "ZfoldRightBind"}));
}

TEST(FinishingControls, TheChosenValueStaysWhileItIsStillAnItem) {
    auto staple = popup("StapleMode", {"None", "TopLeftCorner", "TopEdge", "Saddle"}, "None");
    staple->setStringValue(std::string("TopEdge"));
    update(*staple, rows({{"true", "doubleStitch"}}), IOTOptionUpdater::getStapleOptionsWithKeyDevices);
    EXPECT_EQ(values(*staple), (std::vector<std::string>{"None", "TopEdge"}));
    EXPECT_EQ(staple->getStringValue(), "TopEdge");
    // Removing nothing changes nothing.
    IOTOptionUpdater::updatePopupButtonComponent(staple.get(), std::vector<std::string>{});
    EXPECT_EQ(values(*staple), (std::vector<std::string>{"None", "TopEdge"}));
}

TEST(InputSlotControl, NewItemsKeepTheValueWhileItIsAmongThem) {
    auto slot = popup("VLInputSlot", {"AutoSelect", "Tray1", "Tray2", "TrayStock"}, "AutoSelect");
    slot->setStringValue(std::string("Tray2"));
    IOTOptionUpdater::updateInputSlotQuillUI(slot.get(), slots(rows({{"3", "Number"}, {"2", "Number"}})));
    EXPECT_EQ(values(*slot), (std::vector<std::string>{"AutoSelect", "Tray1", "Tray3", "Tray2", "TrayStock"}));
    EXPECT_EQ(slot->getStringValue(), "Tray2");
    IOTOptionUpdater::updateInputSlotQuillUI(nullptr, {});  // no control: nothing happens
}

TEST(OutputTrayControl, KeepsItsValueAmongTheNewItemsUnlessThePrintOptionNamesATray) {
    auto tray = popup("OutputTray", {"Auto", "Stackertray", "Stackertray2", "D3finishertray"}, "Auto");
    tray->setStringValue(std::string("Stackertray2"));
    IOTOptionUpdater::updateInputSlotQuillUI(tray.get(), outputTrays(rows({{"9", "Type"}, {"10", "Type"}})));
    EXPECT_EQ(values(*tray), (std::vector<std::string>{"Auto", "Stackertray", "Stackertray2", "Autochange"}));
    EXPECT_EQ(tray->getStringValue(), "Stackertray2");
    kzp::QuillUI::setUpdateWithPrintOption(kz::Dictionary{{"OutputTray", kz::Value("Autochange")}});
    IOTOptionUpdater::updateInputSlotQuillUI(tray.get(), outputTrays(rows({{"9", "Type"}, {"10", "Type"}})));
    kzp::QuillUI::setUpdateWithPrintOption(std::nullopt);
    EXPECT_EQ(tray->getStringValue(), "Autochange");
}
