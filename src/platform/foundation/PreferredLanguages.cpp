#include "platform/foundation/PreferredLanguages.h"

#include <algorithm>
#include <cstdlib>

namespace kz {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// "ja_JP.UTF-8@euro" -> "ja_JP"; "" for C/POSIX or anything not a language.
std::string cleaned(std::string locale) {
    auto cut = locale.find_first_of(".@");
    if (cut != std::string::npos) locale.erase(cut);
    if (locale.empty() || locale == "C" || locale == "POSIX") return {};
    std::replace(locale.begin(), locale.end(), '-', '_');
    return locale;
}

void add(std::vector<std::string>& out, const std::string& locale) {
    std::string l = cleaned(locale);
    if (l.empty()) return;
    auto push = [&](const std::string& s) {
        if (std::find(out.begin(), out.end(), s) == out.end()) out.push_back(s);
    };
    push(l);
    // The bare language follows its region variant, so "ja_JP" also finds ja.lproj.
    auto underscore = l.find('_');
    if (underscore != std::string::npos) push(l.substr(0, underscore));
}

}  // namespace

PreferredLanguages PreferredLanguages::fromEnvironment() {
    return {env("LANGUAGE"), env("LC_ALL"), env("LC_MESSAGES"), env("LANG")};
}

std::vector<std::string> PreferredLanguages::list() const {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= language.size()) {
        auto colon = language.find(':', start);
        if (colon == std::string::npos) colon = language.size();
        add(out, language.substr(start, colon - start));
        start = colon + 1;
    }
    // LC_ALL overrides LC_MESSAGES, which overrides LANG: only the first one set counts.
    for (const std::string* v : {&lcAll, &lcMessages, &lang}) {
        if (!v->empty()) {
            add(out, *v);
            break;
        }
    }
    add(out, "en");
    return out;
}

std::vector<std::string> preferredLanguages() { return PreferredLanguages::fromEnvironment().list(); }

}  // namespace kz
