// The rules of the built bundle run the way the panel runs them: the panel's
// controls and every pane's in one registry (kzpde describe simulate).
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "../support/ToolRun.h"

namespace fs = std::filesystem;

namespace {

const std::string bundle = std::string(KZ_BINARY_DIR) + "/KZPrintServer.plugin";

nlohmann::json run(const std::string& args) {
    std::string command = "describe simulate " + bundle + "/Contents/Resources/KZPrintServerUI.plist";
    for (const auto& pane : fs::directory_iterator(bundle + "/Contents/PlugIns"))
        command += " --with " + (pane.path() / "Contents/Resources/UI.plist").string();
    ToolRun r = runKzpde(command + " " + args + " --json");
    EXPECT_EQ(r.status, 0) << args;
    return r.status == 0 ? nlohmann::json::parse(r.out) : nlohmann::json::object();
}

}  // namespace

TEST(ProductRules, AtTheDefaultsTheSwitchedOffControlsAreDisabledOrHidden) {
    auto j = run("");
    EXPECT_TRUE(j["dialogs"].empty());
    EXPECT_EQ(j["enabled"]["StockName"], false);  // a pane's field, switched by the panel's tray
    EXPECT_EQ(j["enabled"]["SecurityPrintPassword"], false);
    EXPECT_EQ(j["enabled"]["RecordSpecNumber"], false);
    EXPECT_EQ(j["hidden"]["ImpositionNup_NumOfPages"], true);
    EXPECT_EQ(j["hidden"]["ImpositionBooklet_LayoutBaseFile"], true);
    EXPECT_EQ(j["hidden"]["CreasePosition1"], true);
    EXPECT_EQ(j["hidden"]["CreasePressureLevel5"], true);
    EXPECT_EQ(j["values"]["ColorModel"], "CMYK");
}

TEST(ProductRules, CooperationAndEnablingCrossThePanes) {
    auto j = run("--set StapleMode=SaddleInside --set VLInputSlot=TrayStock");
    EXPECT_EQ(j["values"]["ImpositionMode_ImpositionCustomMode"], "Booklet");
    EXPECT_EQ(j["values"]["DuplexMode"], "DuplexTumble");
    EXPECT_EQ(j["hidden"]["ImpositionBooklet_LayoutBaseFile"], false);
    EXPECT_EQ(j["hidden"]["ImpositionNup_NumOfPages"], true);
    EXPECT_EQ(j["enabled"]["StockName"], true);

    // Custom creases show the first crease row; the count shows more.
    j = run("--set CreaseMode=Custom --set CreaseNum=3");
    EXPECT_EQ(j["hidden"]["CreasePosition1"], false);
    EXPECT_EQ(j["hidden"]["CreaseDirection3"], false);
    EXPECT_EQ(j["hidden"]["CreasePosition4"], true);
    j = run("--set CreaseMode=Custom --set CreaseNum=3 --set CreaseMode=SaddleFold");
    EXPECT_EQ(j["hidden"]["CreasePosition1"], true);
    EXPECT_EQ(j["hidden"]["CreasePosition3"], true);
}

TEST(ProductRules, ConflictsAskAndTheAnswerDecides) {
    auto yes = run("--set PaperTypeD=Transparency --set DuplexMode=DuplexNoTumble --answer yes");
    ASSERT_EQ(yes["dialogs"].size(), 1u);
    EXPECT_NE(yes["dialogs"][0]["text"].get<std::string>().find("[Paper Type]:[Transparency]"), std::string::npos);
    EXPECT_EQ(yes["values"]["PaperTypeD"], "Plain");
    EXPECT_EQ(yes["values"]["DuplexMode"], "DuplexNoTumble");

    auto no = run("--set PaperTypeD=Transparency --set DuplexMode=DuplexNoTumble --answer no");
    EXPECT_EQ(no["values"]["PaperTypeD"], "Transparency");
    EXPECT_EQ(no["values"]["DuplexMode"], "None");

    // A pane's switch against another pane's option.
    auto save = run("--set VLSaveFile=PDF600dpi --set SecurityPrint=True --answer yes");
    EXPECT_EQ(save["values"]["VLSaveFile"], "None");
    EXPECT_EQ(save["values"]["SecurityPrint"], "True");
}

TEST(ProductRules, UnrestorableConflictsAreRefusedOnceTheNetworkDataIsIn) {
    auto j = run("--network-ready --set SecurityPrint=True --set SamplePrintMode=SamplePrint");
    ASSERT_EQ(j["dialogs"].size(), 1u);
    EXPECT_EQ(j["dialogs"][0]["answer"], "ok");
    EXPECT_NE(j["dialogs"][0]["text"].get<std::string>().find("A secure print job cannot be sample printed."),
              std::string::npos);
    EXPECT_EQ(j["values"]["SamplePrintMode"], "Off");

    // Any saved file type (the "__ALL__" pattern) against secure print.
    j = run("--network-ready --set SecurityPrint=True --set VLSaveFile=TIFF600dpi");
    EXPECT_EQ(j["values"]["VLSaveFile"], "None");
    // Punching a transparency is refused from the paper's side.
    j = run("--network-ready --set Punch_PunchHoles=LeftHoles2 --set PaperTypeD=Transparency");
    EXPECT_EQ(j["values"]["PaperTypeD"], "Plain");
}
