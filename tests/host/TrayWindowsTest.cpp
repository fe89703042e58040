// The printer's device lists in the tool's print dialog (--lists) and the
// panel's tray windows worked as a user works them (--tray).
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HostTestSupport.h"
#include "platform/foundation/PropertyList.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

kz::Value rows(const Rows& list) {
    kz::Array out;
    for (const auto& row : list) {
        kz::Array cells;
        for (const auto& cell : row) cells.emplace_back(cell);
        out.emplace_back(std::move(cells));
    }
    return kz::Value(std::move(out));
}

// Each test runs in a process of its own, side by side with the others: the
// file names carry the test's name and the process id.
std::string listsFile(const std::string& name, const kz::Dictionary& lists) {
    const std::string path = ::testing::TempDir() + "/" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                             std::to_string(::getpid()) + "-" + name;
    EXPECT_TRUE(kz::PropertyList::writeFile(kz::Value(lists), path));
    return path;
}

class TrayWindowsTest : public HostSessionTest {
protected:
    kz::Dictionary control(const std::string& keyword, const char* group = "controls") {
        return session->report().get(group).dictionary().get(keyword).dictionary();
    }
    kz::Dictionary trayControl(const std::string& window, const std::string& keyword) {
        return session->report().get("trayWindows").dictionary().get(window).dictionary().get(keyword).dictionary();
    }
    static std::vector<std::string> items(const kz::Dictionary& control) {
        std::vector<std::string> out;
        for (const kz::Value& item : control.get("items").array()) out.push_back(item.dictionary().get("value").string());
        return out;
    }
    static std::string title(const kz::Dictionary& control, const std::string& value) {
        for (const kz::Value& item : control.get("items").array())
            if (item.dictionary().get("value").string() == value) return item.dictionary().get("title").string();
        return "";
    }
    int runWith(const kz::Dictionary& lists, std::vector<kzpde::TrayWindows::Request> trays = {},
                std::optional<std::string> settings = std::nullopt) {
        kzpde::HostRequest request = defaultRequest();
        request.lists = listsFile("lists-" + std::to_string(++_files) + ".plist", lists);
        request.trays = std::move(trays);
        request.settingsFile = std::move(settings);
        return run(request);
    }

private:
    int _files = 0;
};

}  // namespace

TEST_F(TrayWindowsTest, FeedersMakeTheInputTraysWithTrayOneUpFrontUnlessListed) {
    ASSERT_EQ(runWith({{"FeederInfoList", rows({{"2", "Number"}, {"3", "Number"}})}}), 0) << errors.str();
    EXPECT_EQ(items(control("VLInputSlot")), (std::vector<std::string>{"AutoSelect", "Tray1", "Tray2", "Tray3", "TrayStock"}));
    ASSERT_EQ(runWith({{"FeederInfoList", rows({{"3", "Number"}, {"1", "Number"}, {"7", "Number"}})}}), 0) << errors.str();
    const kz::Dictionary slot = control("VLInputSlot");
    EXPECT_EQ(items(slot), (std::vector<std::string>{"AutoSelect", "Tray3", "Tray1", "Tray6", "TrayStock"}));
    // The tray keys have their translations in the bundle.
    EXPECT_EQ(title(slot, "Tray6"), "Tray 6");
    EXPECT_EQ(title(slot, "AutoSelect"), "Auto Select");
}

TEST_F(TrayWindowsTest, StackersInEitherOrderMakeTheOutputTrays) {
    ASSERT_EQ(runWith({{"StackerInfoList", rows({{"10", "Type"}, {"9", "Type"}})}}), 0) << errors.str();
    EXPECT_EQ(items(control("OutputTray")), (std::vector<std::string>{"Auto", "Stackertray2", "Stackertray"}));
    ASSERT_EQ(runWith({{"StackerInfoList", rows({{"9", "Type"}, {"10", "Type"}})}}), 0) << errors.str();
    const kz::Dictionary tray = control("OutputTray");
    EXPECT_EQ(items(tray), (std::vector<std::string>{"Auto", "Stackertray", "Stackertray2", "Autochange"}));
    EXPECT_EQ(title(tray, "Autochange"), "Stacker Tray (Auto Change)");
    EXPECT_EQ(tray.get("value").string(), "Auto");
}

TEST_F(TrayWindowsTest, DevicesShapeStaplePunchFoldAndOffset) {
    ASSERT_EQ(runWith({{"DeviceList", rows({{"true", "quadPunch"}, {"false", "doublePunch"}, {"True", "zFold"},
                                            {"true", "triFoldZ"}, {"false", "singleTop"}})}}),
              0)
        << errors.str();
    const kz::Dictionary punch = control("Punch_PunchHoles");
    EXPECT_FALSE(punch.get("hidden").boolValue());
    EXPECT_EQ(items(punch), (std::vector<std::string>{"None", "LeftHoles4", "RightHoles4", "TopHoles4", "BottomHoles4",
                                                      "MixSizeHoles4"}));
    // "True" is not "true": no Z-fold.
    EXPECT_EQ(items(control("Fold")), (std::vector<std::string>{"None", "Z_TrifoldInside", "Z_TrifoldOutside"}));
    EXPECT_TRUE(control("StapleMode").get("hidden").boolValue());
    EXPECT_TRUE(control("OffsetMode").get("hidden").boolValue());
    // A hidden control cannot be worked.
    kzpde::HostRequest request = defaultRequest();
    request.lists = listsFile("no-offset.plist", {{"DeviceList", rows({{"false", "offset"}, {"true", "quadPunch"}})}});
    request.sets = {{"OffsetMode", "PerJob"}};
    EXPECT_EQ(run(request), 1);
}

TEST_F(TrayWindowsTest, AChoiceTheDevicesTakeAwayIsNotOfferedRatherThanNoChoice) {
    const kz::Dictionary lists{{"DeviceList", rows({{"true", "quadPunch"}, {"false", "doublePunch"}})}};
    kzpde::HostRequest request = defaultRequest();
    request.lists = listsFile("punch.plist", lists);
    request.sets = {{"Punch_PunchHoles", "LeftHoles2"}};
    EXPECT_EQ(run(request), 1);
    EXPECT_NE(errors.str().find("--set Punch_PunchHoles=LeftHoles2: 'LeftHoles2' is not offered by this printer's "
                                "finishing devices"),
              std::string::npos)
        << errors.str();
    // A value no description lists is still no choice at all.
    request.sets = {{"Punch_PunchHoles", "LeftHoles7"}};
    EXPECT_EQ(run(request), 2);
    EXPECT_NE(errors.str().find("is not one of the choices"), std::string::npos) << errors.str();
}

TEST_F(TrayWindowsTest, SavedFinishingThePrintersDevicesCannotMakeIsNotSent) {
    kz::PrintSettings settings;
    settings.setValue("kzpde.PPDChoice.StapleMode", kz::Value("TopLeftCorner"));
    settings.setValue("kzpde.PPDChoice.OffsetMode", kz::Value("PerJob"));
    settings.setValue("kzpde.PPDChoice.Punch", kz::Value("Left"));
    settings.setValue("kzpde.PPDChoice.PunchHoles", kz::Value("Holes4"));
    const std::string path = ::testing::TempDir() + "/finishing-" + std::to_string(::getpid()) + ".plist";
    ASSERT_TRUE(settings.writeFile(path));
    ASSERT_EQ(runWith({{"DeviceList", rows({{"false", "singleTop"}, {"false", "offset"}, {"true", "quadPunch"}})}}, {},
                      path),
              0)
        << errors.str();
    EXPECT_TRUE(control("StapleMode").get("hidden").boolValue());
    EXPECT_EQ(control("StapleMode").get("value").string(), "None");
    EXPECT_EQ(marked("StapleMode"), "None");
    EXPECT_TRUE(control("OffsetMode").get("hidden").boolValue());
    EXPECT_EQ(control("OffsetMode").get("value").string(), "None");
    EXPECT_EQ(marked("OffsetMode"), "None");
    // What the devices can make stays as saved.
    EXPECT_EQ(control("Punch_PunchHoles").get("value").string(), "LeftHoles4");
}

TEST_F(TrayWindowsTest, AnEmptyDeviceListLeavesTheFinishingControlsAsDescribed) {
    ASSERT_EQ(runWith({{"DeviceList", rows({})}}), 0) << errors.str();
    for (const char* keyword : {"StapleMode", "Punch_PunchHoles", "Fold", "OffsetMode"})
        EXPECT_FALSE(control(keyword).get("hidden").boolValue()) << keyword;
    EXPECT_EQ(items(control("StapleMode")).size(), 22u);  // every staple position
}

TEST_F(TrayWindowsTest, ListsFilesThatAreNoListsOfRowsAreRefusedAndUnknownNamesLeftOut) {
    EXPECT_EQ(runWith({{"FeederInfoList", kz::Value(kz::Dictionary{{"Number", kz::Value("1")}})}}), 1);
    EXPECT_NE(errors.str().find("FeederInfoList is not a list of rows"), std::string::npos) << errors.str();
    EXPECT_EQ(runWith({{"DeviceList", kz::Value(kz::Array{kz::Value(kz::Array{kz::Value(1), kz::Value("offset")})})}}), 1);
    EXPECT_NE(errors.str().find("DeviceList is not a list of rows of texts (row 1, cell 1 is no text)"), std::string::npos)
        << errors.str();
    ASSERT_EQ(runWith({{"Trays", rows({{"1"}})}, {"FeederInfoList", rows({{"4", "Number"}})}}), 0) << errors.str();
    EXPECT_NE(errors.str().find("'Trays' names no server list"), std::string::npos) << errors.str();
    EXPECT_EQ(items(control("VLInputSlot")), (std::vector<std::string>{"AutoSelect", "Tray1", "Tray4", "TrayStock"}));
    kzpde::HostRequest request = defaultRequest();
    request.lists = ::testing::TempDir() + "/no-such-lists.plist";
    EXPECT_EQ(run(request), 1);
}

TEST_F(TrayWindowsTest, AListTooBigForThePanelToReadBackIsRefusedNotShownAsNoList) {
    // 70,000 rows of 250 characters: some 18 MB as a property list, which
    // compresses to little but inflates past what the panel reads of a list.
    Rows many(70000, {std::string(250, '2'), "Number"});
    EXPECT_EQ(runWith({{"FeederInfoList", rows(many)}}), 1);
    EXPECT_NE(errors.str().find("FeederInfoList does not fit in the printer's PPD: it is "), std::string::npos)
        << errors.str();
    EXPECT_NE(errors.str().find("more than the 16 MiB the panel reads of a list"), std::string::npos) << errors.str();
}

TEST_F(TrayWindowsTest, TheAutomaticWindowsValuesAreSavedAfterClose) {
    const kz::Dictionary lists{{"PrePostDevice", rows({{"7-Linen", "CustomPaper7"}})}};
    ASSERT_EQ(runWith(lists, {{"automatic",
                               {{"PaperTypeD", "CustomPaper7"},
                                {"PaperColor", "StockCustom"},
                                {"PaperColorCustomName", "Sky"},
                                {"MediaTypeSequence", "S-12"},
                                {"MediaTypeWeight", "W106to135"},
                                {"MediaTypeCoatingMaterial", "Matte"}}}}),
              0)
        << errors.str();
    EXPECT_EQ(customEntry("PaperTypeD"), "CustomPaper7");
    EXPECT_EQ(customEntry("PaperColorCustomName"), "Sky");
    EXPECT_EQ(customEntry("MediaTypeSequence"), "S-12");
    EXPECT_EQ(marked("PaperColor"), "StockCustom");
    // The weight and the coating are saved like the colour.
    EXPECT_EQ(marked("MediaTypeWeight"), "W106to135");
    EXPECT_EQ(marked("MediaTypeCoatingMaterial"), "Matte");
    EXPECT_EQ(trayControl("automatic", "PaperTypeD").get("value").string(), "CustomPaper7");
    EXPECT_EQ(title(trayControl("bypass", "PaperColorBypass"), "StockCustom"), "Custom Color");
}

TEST_F(TrayWindowsTest, ACustomPaperListedTwiceOrNamingADescribedPaperTypeIsOfferedOnce) {
    ASSERT_EQ(runWith({{"PrePostDevice", rows({{"7-Linen", "CustomPaper7"}, {"7-Linen", "CustomPaper7"},
                                               {"Plainer", "Plain"}, {"8-Card", "CustomPaper8"}})}}),
              0)
        << errors.str();
    const std::vector<std::string> types = items(trayControl("automatic", "PaperTypeD"));
    EXPECT_EQ(std::count(types.begin(), types.end(), "CustomPaper7"), 1);
    EXPECT_EQ(std::count(types.begin(), types.end(), "Plain"), 1);
    EXPECT_EQ(title(trayControl("automatic", "PaperTypeD"), "Plain"), "Plain");
    EXPECT_EQ(types.back(), "CustomPaper8");
}

TEST_F(TrayWindowsTest, TheCustomColourNameIsOpenExactlyForTheCustomColour) {
    // Reported as it opens, also before the window was ever opened.
    ASSERT_EQ(runWith({}), 0) << errors.str();
    EXPECT_FALSE(trayControl("automatic", "PaperColorCustomName").get("enabled").boolValue());
    EXPECT_EQ(runWith({}, {{"automatic", {{"PaperColorCustomName", "Sky"}}}}), 1);
    EXPECT_NE(errors.str().find("disabled or hidden"), std::string::npos) << errors.str();
    // A restored custom colour opens the field when the window comes up.
    kz::PrintSettings settings;
    settings.setValue("kzpde.PPDChoice.PaperColor", kz::Value("StockCustom"));
    const std::string path = ::testing::TempDir() + "/custom-colour.plist";
    ASSERT_TRUE(settings.writeFile(path));
    ASSERT_EQ(runWith({}, {{"automatic", {{"PaperColorCustomName", "Sky"}}}}, path), 0) << errors.str();
    EXPECT_EQ(customEntry("PaperColorCustomName"), "Sky");
    EXPECT_TRUE(trayControl("automatic", "PaperColorCustomName").get("enabled").boolValue());
}

TEST_F(TrayWindowsTest, AnEmptiedCustomNameIsSavedEmptyNotAsItWas) {
    kz::PrintSettings settings;
    settings.setValue("com.torvale.print.PrintSettingsTicket.PaperTypeCustomName", kz::Value("Old stock"));
    const std::string path = ::testing::TempDir() + "/custom-name.plist";
    ASSERT_TRUE(settings.writeFile(path));
    ASSERT_EQ(runWith({}, {}, path), 0) << errors.str();
    EXPECT_EQ(trayControl("automatic", "PaperTypeCustomName").get("value").string(), "Old stock");
    ASSERT_EQ(runWith({}, {{"automatic", {{"PaperTypeCustomName", ""}}}}, path), 0) << errors.str();
    EXPECT_EQ(customEntry("PaperTypeCustomName"), "");
}

TEST_F(TrayWindowsTest, UnknownKeysAndValuesAreUsageErrorsAndAClosedWindowAFailure) {
    EXPECT_EQ(runWith({}, {{"automatic", {{"PaperColorBypass", "White"}}}}), 2);
    EXPECT_NE(errors.str().find("no control of the automatic tray window"), std::string::npos) << errors.str();
    EXPECT_EQ(runWith({}, {{"bypass", {{"PaperColorBypass", "Mauve"}}}}), 2);
    ASSERT_EQ(runWith({}, {{"bypass", {{"PaperColorBypass", "Blue"}, {"MediaTypeSequenceBypass", "B2"}}}}), 0)
        << errors.str();
    EXPECT_EQ(customEntry("MediaTypeSequenceBypass"), "B2");
    EXPECT_EQ(marked("PaperColorBypass"), "Blue");
    // Using the automatic settings for the bypass tray closes its window.
    kzpde::HostRequest request = defaultRequest();
    request.sets = {{"AutoTraySettingToBypass", "True"}};
    request.trays = {{"bypass", {{"PaperColorBypass", "Blue"}}}};
    EXPECT_EQ(run(request), 1);
    EXPECT_NE(errors.str().find("disabled"), std::string::npos) << errors.str();
}
