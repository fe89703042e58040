#include "JsonValue.h"

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

std::string jsonText(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace kzpde
