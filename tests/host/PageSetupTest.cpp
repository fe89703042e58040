// The print dialog's own paper size, pages and orientation, and the dialog
// on a printer whose PPD does not name the plug-in: the printer's options
// plainly, the panel's refused.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "HostTestSupport.h"
#include "host/PageRanges.h"
#include "host/PageSetupControls.h"

namespace {

std::string officePpd() { return std::string(KZ_SOURCE_DIR) + "/tests/data/host/office-laser.ppd"; }

std::string tempFile(const std::string& name) {
    return ::testing::TempDir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
           std::to_string(::getpid()) + "-" + name;
}

std::string jobOption(kzpde::HostSession& session, const std::string& name) {
    const kz::JobOptions::Option* option = session.jobOptions().find(name);
    return option ? option->value : "(none)";
}

}  // namespace

TEST(PageRanges, TakesAscendingRangesAsTheJobCarriesThem) {
    const std::pair<const char*, const char*> good[] = {
        {"1", "1-1"}, {"1-3,5", "1-3,5-5"}, {" 2 - 4 , 7- ", "2-4,7-2147483647"}, {"3-3,4-9", "3-3,4-9"}};
    for (const auto& [text, form] : good) EXPECT_EQ(kzpde::PageRanges::normalized(text, nullptr), form) << text;
    // What a scheduler would refuse the whole job for, or no pages at all.
    for (const char* bad : {"", " ", "0", "5-3", "3,1", "1-4,4", "1-,9", "a", "1-2-3", "-4", "1,,2", "99999999999",
                            "2147483648", "1;2"}) {
        std::string why;
        EXPECT_FALSE(kzpde::PageRanges::normalized(bad, &why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
    std::string many;
    for (int i = 1; i <= kzpde::PageRanges::kMaxRanges + 1; ++i) many += (i > 1 ? "," : "") + std::to_string(i);
    EXPECT_FALSE(kzpde::PageRanges::normalized(many, nullptr));
    EXPECT_FALSE(kzpde::PageRanges::normalized(std::string(kzpde::PageRanges::kMaxText + 1, '1'), nullptr));
}

TEST_F(HostSessionTest, PaperPagesAndOrientationReachTheJobAndTheSettings) {
    kzpde::HostRequest request = defaultRequest();
    request.pageSetup = {"A3", "1-3,5", "landscape"};
    request.writeSettings = tempFile("settings.plist");
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_EQ(marked("PageSize"), "A3");
    EXPECT_EQ(jobOption(*session, "PageSize"), "A3");
    EXPECT_EQ(jobOption(*session, "page-ranges"), "1-3,5-5");
    EXPECT_EQ(jobOption(*session, "orientation-requested"), "4");
    const kz::Dictionary setup = session->report().get("pageSetup").dictionary();
    EXPECT_EQ(setup.get("paper").string(), "A3");
    EXPECT_EQ(setup.get("pages").string(), "1-3,5-5");
    EXPECT_EQ(setup.get("orientation").string(), "landscape");

    // The saved settings bring all three back; "all" then takes the range away.
    kzpde::HostRequest again = defaultRequest();
    again.settingsFile = request.writeSettings;
    again.pageSetup.pages = "all";
    ASSERT_EQ(run(again), 0) << errors.str();
    EXPECT_EQ(marked("PageSize"), "A3");
    EXPECT_EQ(jobOption(*session, "page-ranges"), "(none)");
    EXPECT_EQ(jobOption(*session, "orientation-requested"), "4");
    kzpde::PageSetupControls* row = session->dialog()->pageSetup();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->paperMenu().titleOfSelectedItem(), "A3");
    EXPECT_EQ(row->orientationMenu().indexOfSelectedItem(), 1);
    EXPECT_FALSE(row->rangesField().isEnabled());
}

TEST_F(HostSessionTest, SetPageSizeChoosesThePaperAsTheMenuDoes) {
    kzpde::HostRequest request = defaultRequest();
    request.sets = {{"StapleMode", "TopLeftCorner"}, {"PageSize", "Letter"}};
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_EQ(marked("PageSize"), "Letter");
    EXPECT_EQ(marked("StapleMode"), "TopLeftCorner");
    EXPECT_EQ(session->dialog()->pageSetup()->paperMenu().titleOfSelectedItem(), "Letter");

    request.sets = {{"PageSize", "B5"}};
    EXPECT_EQ(run(request), 2);
    EXPECT_NE(errors.str().find("'B5' is not a paper size of the printer's PPD (A4, A3, B4, Letter, Tabloid)"),
              std::string::npos)
        << errors.str();
}

TEST_F(HostSessionTest, BadPageSetupValuesFailBeforeAnyChange) {
    const std::pair<kzpde::PageSetupRequest, const char*> cases[] = {
        {{"B5", std::nullopt, std::nullopt}, "--paper B5: 'B5' is not a paper size of the printer's PPD"},
        {{std::nullopt, "5-3", std::nullopt}, "--pages 5-3: not \"all\" nor page ranges: '5-3' ends before it begins"},
        {{std::nullopt, "", std::nullopt}, "--pages : not \"all\" nor page ranges"},
        {{std::nullopt, std::nullopt, "sideways"}, "--orientation sideways: not portrait or landscape"},
        {{"", std::nullopt, std::nullopt}, "--paper: no paper size given"},
    };
    for (const auto& [setup, message] : cases) {
        SCOPED_TRACE(message);
        kzpde::HostRequest request = defaultRequest();
        request.sets = {{"StapleMode", "TopLeftCorner"}};
        request.pageSetup = setup;
        EXPECT_EQ(run(request), 1);
        EXPECT_NE(errors.str().find(message), std::string::npos) << errors.str();
        EXPECT_EQ(marked("StapleMode"), "None");
        EXPECT_EQ(marked("PageSize"), "A4");
    }
}

TEST_F(HostSessionTest, StoredPageSetupValuesNoDialogWritesAreLeftOut) {
    kz::PrintSettings settings;
    settings.setValue(kzpde::PageSetupControls::kPageRangesKey, kz::Value("9-1"));
    settings.setValue(kzpde::PageSetupControls::kOrientationKey, kz::Value(static_cast<long long>(4)));
    const std::string path = tempFile("bad.plist");
    ASSERT_TRUE(settings.writeFile(path));
    kzpde::HostRequest request = defaultRequest();
    request.settingsFile = path;
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_NE(errors.str().find("kzpde.PageRanges: not a value the dialog writes; left out"), std::string::npos);
    EXPECT_NE(errors.str().find("kzpde.Orientation: not a value the dialog writes; left out"), std::string::npos);
    EXPECT_EQ(jobOption(*session, "page-ranges"), "(none)");
    EXPECT_EQ(jobOption(*session, "orientation-requested"), "(none)");
}

TEST_F(HostSessionTest, APrinterWhosePpdNamesNoPanelShowsItsOwnOptionsPlainly) {
    kzpde::HostRequest request = defaultRequest();
    request.ppd = officePpd();
    request.sets = {{"Duplex", "DuplexNoTumble"}, {"PageSize", "Legal"}};
    request.pageSetup.orientation = "landscape";
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_EQ(session->panel(), nullptr);
    ASSERT_TRUE(session->plainOptions());
    EXPECT_EQ(session->plainOptions()->keywords(), (std::vector<std::string>{"Duplex", "InputSlot"}));
    EXPECT_EQ(marked("Duplex"), "DuplexNoTumble");
    EXPECT_EQ(marked("PageSize"), "Legal");
    EXPECT_EQ(jobOption(*session, "Duplex"), "DuplexNoTumble");
    EXPECT_EQ(jobOption(*session, "orientation-requested"), "4");
    const kz::Dictionary report = session->report();
    EXPECT_FALSE(report.get("panel").boolValue());
    EXPECT_TRUE(report.get("controls").dictionary().empty());
    // Nothing of the panel's reaches such a printer's job.
    for (const auto& option : session->jobOptions().options())
        EXPECT_EQ(option.name.find("PrintSettingsTicket"), std::string::npos) << option.name;
}

TEST_F(HostSessionTest, ThePanelsOptionsAreRefusedForAPrinterWithoutIt) {
    kzpde::HostRequest request = defaultRequest();
    request.ppd = officePpd();
    request.sets = {{"Duplex", "DuplexNoTumble"}, {"StapleMode", "TopLeftCorner"}};
    EXPECT_EQ(run(request), 1);
    EXPECT_NE(errors.str().find("--set StapleMode=TopLeftCorner: refused: office-laser has no option StapleMode (its "
                                "PPD does not name the KZ Print Server panel"),
              std::string::npos)
        << errors.str();
    EXPECT_EQ(marked("Duplex"), "None");  // checked before any change

    request.sets = {{"Duplex", "Sideways"}};
    EXPECT_EQ(run(request), 2);
    EXPECT_NE(errors.str().find("'Sideways' is not one of the choices of Duplex"), std::string::npos) << errors.str();

    request.sets.clear();
    request.favorite = "Duplex";
    EXPECT_EQ(run(request), 1);
    EXPECT_NE(errors.str().find("--favorite: refused: office-laser has no KZ Print Server panel"), std::string::npos)
        << errors.str();
}

TEST_F(HostSessionTest, ACopyOfTheProductPpdWithoutItsDialogExtensionGetsNoPanel) {
    const std::string product = builtBundle() + "/Contents/Resources/KZPrintServer.ppd";
    std::ifstream in(product);
    const std::string path = tempFile("renamed.ppd");
    std::ofstream out(path);
    for (std::string line; std::getline(in, line);)
        out << (line.rfind("*APDialogExtension:", 0) == 0 ? "*APDialogExtension: \"/usr/lib/x/Other.plugin\"" : line)
            << "\n";
    out.close();
    kzpde::HostRequest request = defaultRequest();
    request.ppd = path;
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_EQ(session->panel(), nullptr);
    // The product's own PPD, wherever the bundle lies, names it.
    request.ppd = product;
    ASSERT_EQ(run(request), 0) << errors.str();
    EXPECT_NE(session->panel(), nullptr);
}
