#pragma once

#include "platform/foundation/Value.h"

namespace kztest {

// The printer the simulator describes in the client's tests.
inline kz::Dictionary samplePrinter() {
    using kz::Array;
    using kz::Dictionary;
    auto entry = [](std::initializer_list<Dictionary::Entry> e) { return kz::Value(Dictionary(e)); };
    return Dictionary{
        {"stackers", Array{entry({{"Type", "A"}, {"Size", "B"}}), entry({{"Type", "Finisher"}})}},
        {"feeders", Array{entry({{"Number", "1"}, {"Name", "Tray 1"}}), entry({{"Number", "2"}})}},
        {"devices", Dictionary{{"Stapler", "Installed"}, {"Puncher", "2/4"}}},
        {"customPapers", Array{entry({{"Index", "3"}, {"Name", "Heavy"}}), entry({{"Name", "Light"}})}},
        {"folders", Array{"X", "Y"}},
        {"resources", Dictionary{{"4", Array{entry({{"JobRecListName", "Form A"},
                                                    {"JobRecListComment", "first"},
                                                    {"Other", "skip"},
                                                    {"JobRecListDateTimeValue", "2026-01-02T03:04:05"}})}}}},
        {"stdFonts", Array{entry({{"DisplayName", "Serif"}, {"FontName", "KZSerif"}})}},
        {"optFonts", Array{entry({{"FontName", "F"}})}},
        {"calibFiles", Array{entry({{"FileName", "cal1"}, {"Comment", "c"}, {"UpdatedDateTime", "t"}})}},
        {"densityAdjustProfiles", Array{entry({{"Name", "dens"}, {"Comment", ""}})}},
        {"userTrcProfiles", Array{entry({{"Name", "trc"}})}},
        {"deviceLinkFiles", Array{entry({{"Name", "link"}, {"Comment", "lc"}, {"ModifyTime", "m"}})}},
    };
}

}  // namespace kztest
