#include "engine/controls/ControlDescription.h"

#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"

namespace ComTORVALEKZ2R4_Plugin {

std::optional<kz::Dictionary> ControlDescription::readFile(const std::string& path, std::string* error) {
    std::string bytes;
    kz::FileBytes::Status status = kz::FileBytes::read(path, kMaxFileBytes, &bytes);
    if (status == kz::FileBytes::Status::tooLarge) {
        if (error) *error = "larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return std::nullopt;
    }
    if (status != kz::FileBytes::Status::ok) {
        if (error) *error = "cannot be read";
        return std::nullopt;
    }
    return read(bytes, error);
}

std::optional<kz::Dictionary> ControlDescription::read(std::string_view bytes, std::string* error) {
    if (bytes.size() > kMaxFileBytes) {
        if (error) *error = "larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return std::nullopt;
    }
    std::string why;
    kz::Value root = kz::PropertyList::read(bytes, &why);
    if (root.isNull()) {
        if (error) *error = why.empty() ? "not a property list" : why;
        return std::nullopt;
    }
    if (!root.isDictionary()) {
        if (error) *error = std::string("the root is ") + root.typeName() + ", not a dictionary";
        return std::nullopt;
    }
    return root.dictionary();
}

std::optional<std::string> ControlDescription::text(const kz::Dictionary& d, std::string_view key) {
    const kz::Value* v = d.find(key);
    if (!v) return std::nullopt;
    if (v->isString()) return v->string();
    if (v->isNumber()) return v->stringValue();
    return std::nullopt;
}

std::optional<std::string> ControlDescription::nonEmptyText(const kz::Dictionary& d, std::string_view key) {
    auto t = text(d, key);
    if (t && t->empty()) return std::nullopt;
    return t;
}

bool ControlDescription::flag(const kz::Dictionary& d, std::string_view key) {
    const kz::Value* v = d.find(key);
    if (!v) return false;
    if (v->isString() || v->isNumber()) return v->boolValue();
    return false;
}

long long ControlDescription::integer(const kz::Dictionary& d, std::string_view key, long long fallback) {
    const kz::Value* v = d.find(key);
    if (!v) return fallback;
    if (v->isString() || v->isNumber()) return v->integerValue();
    return fallback;
}

const kz::Dictionary& ControlDescription::dictionary(const kz::Dictionary& d, std::string_view key) {
    return d.get(key).dictionary();
}

const kz::Array& ControlDescription::array(const kz::Dictionary& d, std::string_view key) {
    return d.get(key).array();
}

std::vector<std::string> ControlDescription::texts(const kz::Dictionary& d, std::string_view key) {
    std::vector<std::string> out;
    for (const kz::Value& v : array(d, key))
        if (v.isString()) out.push_back(v.string());
    return out;
}

const std::vector<std::string>& ControlDescription::controlTypes() {
    static const std::vector<std::string> types{"CheckBox",       "PopupButton",      "RadioButton",
                                                "HRadioButton",   "Slider",           "DatePicker",
                                                "TextField_number", "TextField_text", "SecureTextField_text"};
    return types;
}

bool ControlDescription::isKnownControlType(std::string_view type) {
    for (const std::string& t : controlTypes())
        if (t == type) return true;
    return false;
}

const std::vector<std::string>& ControlDescription::ruleKeys() {
    static const std::vector<std::string> keys{"conflict",  "unrestorable_conflict", "condition",
                                               "logical_sum_condition", "cooperation", "hide"};
    return keys;
}

bool ControlDescription::isMalformedPattern(std::string_view pattern) {
    std::string_view rest;
    if (pattern.starts_with(kLessPrefix)) rest = pattern.substr(kLessPrefix.size());
    else if (pattern.starts_with(kGreaterPrefix)) rest = pattern.substr(kGreaterPrefix.size());
    else return false;
    // A plain decimal number: sign, digits with at most one point, exponent.
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') ++i;
        return i - start;
    };
    while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t')) ++i;
    if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) ++i;
    std::size_t count = digits();
    if (i < rest.size() && rest[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) return true;
    if (i < rest.size() && (rest[i] == 'e' || rest[i] == 'E')) {
        ++i;
        if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) ++i;
        if (digits() == 0) return true;
    }
    while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t')) ++i;
    return i != rest.size();
}

}  // namespace ComTORVALEKZ2R4_Plugin
