#include "platform/printing/PrintSettings.h"

#include <utility>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"

namespace kz {

namespace {

bool fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return false;
}

// The key as a message can show it: control characters as \xNN.
std::string printable(std::string_view text) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text.substr(0, 200)) {
        if (c < ' ' || c == 0x7f) {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// One entry as a host would have written it: a text, a boolean or an
// integer; the host's own keys with the type the printing calls read.
bool acceptable(const std::string& key, const Value& value, std::string* error) {
    if (key.empty()) return fail(error, "an entry has an empty key");
    if (key.size() > PrintSettings::kMaxValueBytes) return fail(error, "an entry's key is too long");
    // Keys become the names of job options, which the printing system
    // passes on as "name=value" words: a key must stay one such word.
    for (unsigned char c : key) {
        if (c <= ' ' || c == 0x7f || c == '=' || c == '\'' || c == '"' || c == '\\')
            return fail(error, "the key \"" + printable(key) + "\" holds a space, a control character, a quote or \"=\"");
    }
    if (value.isString()) {
        if (value.string().size() > PrintSettings::kMaxValueBytes)
            return fail(error, "the value of \"" + key + "\" is too long");
    } else if (!value.isBoolean() && !(value.isInteger() && !value.isUnsigned())) {
        return fail(error, "the value of \"" + key + "\" is a " + value.typeName() +
                               ", not a text, boolean or integer");
    }
    if (key == PrintSettings::kCollateKey && !value.isBoolean())
        return fail(error, "\"" + key + "\" is not a boolean");
    if (key == PrintSettings::kDuplexKey) {
        if (!value.isInteger() || value.integerValue() < PrintSettings::kDuplexNone ||
            value.integerValue() > PrintSettings::kSimplexTumble)
            return fail(error, "\"" + key + "\" is not a duplex mode from 1 to 4");
    }
    if (key == PrintSettings::kCopiesKey) {
        if (!value.isInteger() || value.integerValue() < 1 || value.integerValue() > 9999)
            return fail(error, "\"" + key + "\" is not a number of copies from 1 to 9999");
    }
    return true;
}

}  // namespace

void PrintSettings::setValue(std::string_view key, Value value) {
    if (value.isNull()) {
        _values.remove(key);
    } else {
        _values.set(key, std::move(value));
    }
}

bool PrintSettings::isCustomEntryKey(std::string_view key) {
    const std::string_view marker = kCustomEntryMarker;
    auto at = key.find(marker);
    // A vendor prefix before the marker and a main keyword after it.
    return at != std::string_view::npos && at > 0 && at + marker.size() < key.size();
}

std::optional<PrintSettings> PrintSettings::readFile(const std::string& path, std::string* error) {
    std::string bytes;
    switch (FileBytes::read(path, kMaxFileBytes, &bytes)) {
        case FileBytes::Status::ok: break;
        case FileBytes::Status::cannotOpen: fail(error, "cannot open " + path); return std::nullopt;
        case FileBytes::Status::cannotRead: fail(error, "cannot read " + path); return std::nullopt;
        case FileBytes::Status::tooLarge:
            fail(error, path + " is larger than " + std::to_string(kMaxFileBytes) + " bytes");
            return std::nullopt;
    }
    std::string reason;
    auto settings = read(bytes, &reason);
    if (!settings) fail(error, path + reason);
    return settings;
}

std::optional<PrintSettings> PrintSettings::read(std::string_view bytes, std::string* error) {
    if (bytes.size() > kMaxFileBytes) {
        fail(error, " is larger than " + std::to_string(kMaxFileBytes) + " bytes");
        return std::nullopt;
    }
    std::string reason;
    Value root = PropertyList::read(bytes, &reason);
    if (!reason.empty() || root.isNull()) {
        fail(error, " is not a property list" + (reason.empty() ? "" : ": " + reason));
        return std::nullopt;
    }
    if (!root.isDictionary()) {
        fail(error, " holds a " + std::string(root.typeName()) + ", not a dictionary of settings");
        return std::nullopt;
    }
    if (root.dictionary().size() > kMaxEntries) {
        fail(error, " has more than " + std::to_string(kMaxEntries) + " entries");
        return std::nullopt;
    }
    PrintSettings settings;
    for (const auto& [key, value] : root.dictionary()) {
        std::string why;
        if (!acceptable(key, value, &why)) {
            fail(error, ": " + why);
            return std::nullopt;
        }
        settings._values.set(key, value);
    }
    return settings;
}

bool PrintSettings::writeFile(const std::string& path, std::string* error, bool ownerOnly) const {
    std::string reason;
    std::string xml = PropertyList::toXml(Value(_values), &reason);
    if (!reason.empty()) return fail(error, "cannot write the settings: " + reason);
    AtomicFile::Options options;
    if (ownerOnly) options.mode = 0600;
    return AtomicFile::write(path, xml, options, error);
}

}  // namespace kz
