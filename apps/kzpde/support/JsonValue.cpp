#include "support/JsonValue.h"

#include <ostream>

#include <cmath>
#include <ctime>

namespace kzpde {

namespace {

std::string base64(const kz::Data& d) {
    static const char* table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((d.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < d.size(); i += 3) {
        unsigned v = static_cast<unsigned>(d[i]) << 16;
        if (i + 1 < d.size()) v |= static_cast<unsigned>(d[i + 1]) << 8;
        if (i + 2 < d.size()) v |= d[i + 2];
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += i + 1 < d.size() ? table[(v >> 6) & 63] : '=';
        out += i + 2 < d.size() ? table[v & 63] : '=';
    }
    return out;
}

std::string iso8601(kz::Date date) {
    double t = date.unixTime();
    double whole = std::floor(t);
    std::time_t secs = static_cast<std::time_t>(whole);
    std::tm tm{};
    if (!std::isfinite(t) || !gmtime_r(&secs, &tm)) return "invalid date";
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &tm);
    std::string out = buf;
    int millis = static_cast<int>(std::lround((t - whole) * 1000));
    if (millis > 0 && millis < 1000) {
        char frac[8];
        std::snprintf(frac, sizeof frac, ".%03d", millis);
        out += frac;
    }
    return out + "Z";
}

}  // namespace

nlohmann::ordered_json toJson(const kz::Value& v) {
    using T = kz::Value::Type;
    switch (v.type()) {
    case T::Null: return nullptr;
    case T::Boolean: return v.boolValue();
    case T::Integer:
        if (v.isUnsigned()) return v.unsignedIntegerValue();
        return v.integerValue();
    case T::Real: return v.doubleValue();
    case T::String: return v.string();
    case T::Data: return base64(v.data());
    case T::Date: return iso8601(v.date());
    case T::Array: {
        auto a = nlohmann::ordered_json::array();
        for (const auto& item : v.array()) a.push_back(toJson(item));
        return a;
    }
    case T::Dictionary: {
        auto o = nlohmann::ordered_json::object();
        for (const auto& [key, item] : v.dictionary()) o[key] = toJson(item);
        return o;
    }
    }
    return nullptr;
}

kz::Value fromJson(const nlohmann::ordered_json& j) {
    if (j.is_boolean()) return kz::Value(j.get<bool>());
    if (j.is_number_unsigned()) return kz::Value(j.get<unsigned long long>());
    if (j.is_number_integer()) return kz::Value(j.get<long long>());
    if (j.is_number()) return kz::Value(j.get<double>());
    if (j.is_string()) return kz::Value(j.get<std::string>());
    if (j.is_array()) {
        kz::Array a;
        for (const auto& e : j) a.push_back(fromJson(e));
        return kz::Value(std::move(a));
    }
    if (j.is_object()) {
        kz::Dictionary d;
        for (const auto& [k, v] : j.items()) d.set(k, fromJson(v));
        return kz::Value(std::move(d));
    }
    return kz::Value();
}

std::optional<kz::Dictionary> printOptionFromJson(const nlohmann::ordered_json& in, bool keepNumbers,
                                                  std::string* error) {
    if (!in.is_object()) {
        if (error) *error = "the print option must be a JSON object";
        return std::nullopt;
    }
    kz::Dictionary out;
    for (const auto& [key, value] : in.items()) {
        if (value.is_string() || value.is_boolean() || (keepNumbers && value.is_number())) {
            out.set(key, fromJson(value));
        } else if (value.is_number()) {
            out.set(key, value.dump());
        } else {
            if (error) *error = "the value of \"" + key + "\" is not a text, number or boolean";
            return std::nullopt;
        }
    }
    return out;
}

nlohmann::ordered_json printOptionToJson(const kz::Dictionary& option) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const auto& [key, value] : option) {
        if (value.isBoolean()) out[key] = value.boolValue();
        else out[key] = value.stringValue();
    }
    return out;
}

std::string jsonText(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void writeJson(std::ostream& out, const nlohmann::ordered_json& json) { out << jsonText(json) << "\n"; }

void writeJson(std::ostream& out, const kz::Value& value) { writeJson(out, toJson(value)); }

}  // namespace kzpde
