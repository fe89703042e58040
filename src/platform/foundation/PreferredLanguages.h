#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

// The user's languages, most preferred first, from LANGUAGE (a colon list),
// then LC_ALL, LC_MESSAGES and LANG, always ending in "en". Encodings and
// modifiers are dropped ("ja_JP.UTF-8" gives "ja_JP" then "ja"); "C" and
// "POSIX" name no language and are skipped; duplicates are removed.
KZ_EXPORT std::vector<std::string> preferredLanguages();

// The same over given values (for tests and callers with their own source).
struct PreferredLanguages {
    std::string language, lcAll, lcMessages, lang;
    KZ_EXPORT static PreferredLanguages fromEnvironment();
    KZ_EXPORT std::vector<std::string> list() const;
};

}  // namespace kz
