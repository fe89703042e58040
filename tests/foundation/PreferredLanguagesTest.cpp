#include <gtest/gtest.h>

#include "platform/foundation/PreferredLanguages.h"

using kz::PreferredLanguages;
using L = std::vector<std::string>;

TEST(PreferredLanguages, OrderSourcesAndCleaning) {
    EXPECT_EQ((PreferredLanguages{"", "", "", ""}.list()), (L{"en"}));
    EXPECT_EQ((PreferredLanguages{"", "", "", "ja_JP.UTF-8"}.list()), (L{"ja_JP", "ja", "en"}));
    EXPECT_EQ((PreferredLanguages{"fr:de_CH", "", "", "ja_JP.UTF-8"}.list()), (L{"fr", "de_CH", "de", "ja_JP", "ja", "en"}));
    // LC_ALL hides LC_MESSAGES and LANG; C and POSIX name no language.
    EXPECT_EQ((PreferredLanguages{"", "de_DE@euro", "fr_FR", "ja_JP"}.list()), (L{"de_DE", "de", "en"}));
    EXPECT_EQ((PreferredLanguages{"C", "C.UTF-8", "", "POSIX"}.list()), (L{"en"}));
    EXPECT_EQ((PreferredLanguages{"en_US::en", "", "", "en_GB"}.list()), (L{"en_US", "en", "en_GB"}));
}
