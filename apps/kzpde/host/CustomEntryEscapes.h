#pragma once

#include <string>

namespace kzpde {

// How the panel stores the text of a custom entry in the settings: "%", "'"
// and "," escaped as "%x25", "%x27" and "%x2C". The host reads such texts
// back (the job name) and masks secrets in both forms.
class CustomEntryEscapes {
public:
    static std::string escape(const std::string& text);
    static std::string unEscape(const std::string& stored);
};

}  // namespace kzpde
