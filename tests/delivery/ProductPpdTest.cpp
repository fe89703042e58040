// The product PPD as print dialogs read it through libcups: the conflicts
// the panel's rules declare, and how they are resolved.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <memory>
#include <string>

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

const std::string kProductPPD = KZ_SOURCE_DIR "/resources/bundle/Contents/Resources/KZPrintServer.ppd";

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

std::string optionValue(int count, cups_option_t* options, const char* name) {
    const char* value = cupsGetOption(name, count, options);
    return value ? value : "";
}

TEST(ProductPpd, ADialogsClashIsResolvedToWhatThePanelPutsBack) {
    std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(kProductPPD.c_str()));
    ASSERT_TRUE(ppd);
    ppdMarkDefaults(ppd.get());
    ppdMarkOption(ppd.get(), "OutputTray", "Stackertray");
    ppdMarkOption(ppd.get(), "StapleMode", "TopLeftCorner");
    EXPECT_GT(ppdConflicts(ppd.get()), 0);

    cups_option_t* conflicts = nullptr;
    const int found = cupsGetConflicts(ppd.get(), "StapleMode", "TopLeftCorner", &conflicts);
    EXPECT_EQ(optionValue(found, conflicts, "OutputTray"), "Stackertray");
    cupsFreeOptions(found, conflicts);

    // The staple just chosen stays; the stacker gives way as in the panel.
    cups_option_t* options = nullptr;
    int count = cupsAddOption("OutputTray", "Stackertray", 0, &options);
    count = cupsAddOption("StapleMode", "TopLeftCorner", count, &options);
    ASSERT_EQ(cupsResolveConflicts(ppd.get(), "StapleMode", "TopLeftCorner", &count, &options), 1);
    EXPECT_EQ(optionValue(count, options, "StapleMode"), "TopLeftCorner");
    EXPECT_EQ(optionValue(count, options, "OutputTray"), "Auto");
    cupsFreeOptions(count, options);
}

TEST(ProductPpd, ChoicesThatGoTogetherRaiseNoConflict) {
    std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(kProductPPD.c_str()));
    ASSERT_TRUE(ppd);
    ppdMarkDefaults(ppd.get());
    EXPECT_EQ(ppdConflicts(ppd.get()), 0);
    ppdMarkOption(ppd.get(), "StapleMode", "TopLeftCorner");
    ppdMarkOption(ppd.get(), "DuplexMode", "DuplexNoTumble");
    ppdMarkOption(ppd.get(), "ColorModel", "Gray");
    EXPECT_EQ(ppdConflicts(ppd.get()), 0);
}

}  // namespace
