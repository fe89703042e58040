#include "host/Secrets.h"

#include <algorithm>
#include <vector>

#include "engine/panes/PanelInspection.h"
#include "engine/controls/QuillUI.h"
#include "host/CustomEntryEscapes.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

namespace kzp = ComTORVALEKZ2R4_Plugin;

namespace {

// The main keyword a settings key or job option names: the part after the
// custom-entry marker, or the key itself.
std::string_view keywordOf(std::string_view key) {
    if (!kz::PrintSettings::isCustomEntryKey(key)) return key;
    const std::string_view marker = kz::PrintSettings::kCustomEntryMarker;
    return key.substr(key.find(marker) + marker.size());
}

}  // namespace

Secrets::Secrets()
    : _keywords{"SecurityPrintPassword", "RscPassword", "AuthJobPassword", "VLFormPassword", "VLSecurityPassword",
                 // The job option that carries the secure-print password.
                 "job-password"} {}

void Secrets::addValue(const std::string& value) {
    if (value.empty()) return;
    _values.insert(value);
    // A custom entry carries the escaped form; the unescaped one is what
    // the panel read back.
    _values.insert(CustomEntryEscapes::escape(value));
    _values.insert(CustomEntryEscapes::unEscape(value));
}

bool Secrets::isSecretKey(std::string_view key) const { return _keywords.contains(std::string(keywordOf(key))); }

kz::Dictionary Secrets::masked(const kz::Dictionary& values) {
    kz::Dictionary out;
    for (const auto& [key, value] : values) {
        if (!isSecretKey(key)) {
            out.set(key, value);
            continue;
        }
        const std::string text = value.stringValue();
        addValue(text);
        out.set(key, kz::Value(masked(text)));
    }
    return out;
}

std::string Secrets::redact(std::string text) const {
    if (_values.empty()) return text;
    // One pass, the longest value first at each place, so that a value
    // inside another one leaves no part of the longer one behind and a mask
    // is never taken for a value again.
    std::vector<const std::string*> byLength;
    for (const std::string& v : _values) byLength.push_back(&v);
    std::sort(byLength.begin(), byLength.end(), [](auto* a, auto* b) { return a->size() > b->size(); });
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::string* found = nullptr;
        for (const std::string* value : byLength)
            if (text.compare(at, value->size(), *value) == 0) {
                found = value;
                break;
            }
        if (found) {
            out += kMask;
            at += found->size();
        } else {
            out += text[at++];
        }
    }
    return out;
}

void Secrets::learnSecureControls() {
    // What the descriptions make a secure field is a secret too.
    for (const auto& [keyword, controls] : kzp::PanelInspection::registeredControls())
        for (const auto& control : controls)
            if (control && control->kind() == kzp::QuillUI::Kind::SecureTextField) addKeyword(keyword);
}

}  // namespace kzpde
