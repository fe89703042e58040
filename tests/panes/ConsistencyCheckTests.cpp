// The consistency check: which rules a print option breaks, in which order,
// and the alert that lists them.
#include <gmock/gmock.h>

#include "PaneTestSupport.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/UiDriver.h"
#include "platform/kit/ViewDump.h"
#include "platform/kit/Window.h"

using namespace panetest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> failures(const kz::Dictionary& option) {
    return kzp::PanePlugInMgr::consistencyFailures(option);
}

TEST(ConsistencyCheck, SwitchesCountOnlyAsTheExactText) {
    EXPECT_THAT(failures({{"SecurityPrint", "True"}, {"SecurityPrintPassword", ""}}),
                ElementsAre("Alert_SecurityPrintPassword"));
    EXPECT_THAT(failures({{"SecurityPrint", "True"}}), ElementsAre("Alert_SecurityPrintPassword"));
    EXPECT_THAT(failures({{"SecurityPrint", "true"}, {"SecurityPrintPassword", ""}}), IsEmpty());
    EXPECT_THAT(failures({{"SecurityPrint", true}}), IsEmpty());  // not a text
    EXPECT_THAT(failures({{"SecurityPrint", "True"}, {"SecurityPrintPassword", "0a1b"}}), IsEmpty());
    // A companion that is not a text is as good as missing.
    EXPECT_THAT(failures({{"MailNotifyJobEnd", "True"}, {"MailAddress", 5}}), ElementsAre("Alert_MailAddress"));
    EXPECT_THAT(failures({{"VLInputSlot", "TrayStock"}}), ElementsAre("Alert_StockName"));
    EXPECT_THAT(failures({{"VLInputSlot", "Tray1"}}), IsEmpty());
}

TEST(ConsistencyCheck, RecordNumbersMatterOnlyWhileRecordsAreDivided) {
    EXPECT_THAT(failures({{"RecordSpec", "True"}}), IsEmpty());
    EXPECT_THAT(failures({{"RecordSpec", "True"}, {"RecordDiv", "Off"}}), IsEmpty());
    EXPECT_THAT(failures({{"RecordSpec", "True"}, {"RecordDiv", ""}}), IsEmpty());
    EXPECT_THAT(failures({{"RecordSpec", "True"}, {"RecordDiv", "On"}}), ElementsAre("Alert_RecordSpecNumber"));
    EXPECT_THAT(failures({{"RecordSpec", "True"}, {"RecordDiv", "Page"}, {"RecordSpecNumber", "1-3"}}), IsEmpty());
}

TEST(ConsistencyCheck, EitherImpositionKeyTurnsTheTemplateRuleOn) {
    EXPECT_THAT(failures({{"ImpositionMode", "Booklet"}, {"ImpositionMode_ImpositionCustomMode", "Template"}}),
                ElementsAre("Alert_ImpositionTemplate"));
    EXPECT_THAT(failures({{"ImpositionMode", "Template"}}), ElementsAre("Alert_ImpositionTemplate"));
    EXPECT_THAT(failures({{"ImpositionMode", "Template"}, {"ImpositionTemplate", "T1"}}), IsEmpty());
}

TEST(ConsistencyCheck, FailuresComeInTableOrder) {
    kz::Dictionary option{{"TextUserAdjust", "True"},
                          {"WaterMark", "True"},
                          {"SecurityPrint", "True"},
                          {"PhysicalPageRangeMode", "Appoint"},
                          {"SeparatorsTray", "TrayStock"},
                          {"PaginationMode", "Template"}};
    EXPECT_THAT(failures(option),
                ElementsAre("Alert_SecurityPrintPassword", "Alert_PhysicalPageRange", "Alert_SeparatorsStockName",
                            "Alert_PaginationTemplate", "Alert_WaterMarkName", "Alert_TextUserAdjustName"));
}

// Keeps what the alert window shows, then presses its only button.
struct AlertReader : kz::UiDriver {
    std::string shown;
    int alerts = 0;
    bool step(kz::Application&, kz::Window& window) override {
        ++alerts;
        shown = kz::ViewDump::dump(window);
        auto* ok = kz::ScriptedUiDriver::find(window.contentView(), [](kz::View& v) {
            auto* b = dynamic_cast<kz::Button*>(&v);
            return b && b->title() == "OK";
        });
        return ok && static_cast<kz::Button*>(ok)->performClick();
    }
};

TEST(ConsistencyCheck, OneAlertListsEveryFailedRuleInTheBundlesTexts) {
    PlugInFixture f;
    writeText(f.resources() + "/en.lproj/UI.strings",
              "\"Alert_ChkMsg\" = \"Missing settings\";\n\"Alert_StockName\" = \"Name the stock\";\n"
              "\"Alert_MailAddress\" = \"Enter a mail address\";\n");
    auto& mgr = f.manager();
    AlertReader reader;
    kz::Application::shared().setDriver(&reader);
    kz::Dictionary good{{"SecurityPrint", "False"}};
    EXPECT_TRUE(mgr.isPrintOptionConsistencyCheck(good));
    EXPECT_EQ(reader.alerts, 0);
    kz::Dictionary bad{{"VLInputSlot", "TrayStock"}, {"MailNotifyJobEnd", "True"}, {"FormName", ""},
                       {"VariablePrintMode", "UseForm"}};
    EXPECT_FALSE(mgr.isPrintOptionConsistencyCheck(bad));
    kz::Application::shared().setDriver(nullptr);
    EXPECT_EQ(reader.alerts, 1);
    EXPECT_NE(reader.shown.find("Missing settings"), std::string::npos) << reader.shown;
    auto mail = reader.shown.find("Enter a mail address");
    auto stock = reader.shown.find("Name the stock");
    auto form = reader.shown.find("Alert_FormName");  // no text: the key itself
    ASSERT_NE(mail, std::string::npos);
    ASSERT_NE(stock, std::string::npos);
    ASSERT_NE(form, std::string::npos);
    EXPECT_LT(mail, stock);
    EXPECT_LT(stock, form);
}

}  // namespace
