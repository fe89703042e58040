#pragma once

#include <set>
#include <string>
#include <string_view>

#include "platform/foundation/Dictionary.h"

namespace kzpde {

// The options whose values are secrets (passwords), and their values as the
// tool has seen them, so that nothing it prints shows one: neither the plain
// text the user gave nor the transport-encoded text the panel stored.
class Secrets {
public:
    static constexpr const char* kMask = "********";

    // The secure-print, resource and job passwords and the favorites'
    // password tags, whatever the descriptions say.
    Secrets();

    void addKeyword(const std::string& mainKeyword) { _keywords.insert(mainKeyword); }
    // Every option the loaded descriptions edit in a secure text field.
    void learnSecureControls();
    // A value to keep out of every line the tool prints (empty ones are
    // nothing to hide).
    void addValue(const std::string& value);

    // True for a secret's main keyword, a custom entry of one or a job
    // option named after one.
    bool isSecretKey(std::string_view key) const;
    // "" stays "" (there is no password); any other value is the mask.
    static std::string masked(const std::string& value) { return value.empty() ? value : kMask; }
    // The settings or options with every secret's value masked; the values
    // seen are remembered for redact.
    kz::Dictionary masked(const kz::Dictionary& values);
    // The text with every secret value seen replaced by the mask.
    std::string redact(std::string text) const;

    const std::set<std::string>& keywords() const { return _keywords; }

private:
    std::set<std::string> _keywords;
    std::set<std::string> _values;
};

}  // namespace kzpde
