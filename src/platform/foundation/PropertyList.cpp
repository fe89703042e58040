#include "platform/foundation/PropertyList.h"

#include <plist/plist.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyListScan.h"

namespace kz {

namespace {

constexpr const char* kDateOutOfRange = "date not between 1932-12-13T20:45:52Z and 2069-01-19T03:14:07Z";

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

struct PlistFree {
    void operator()(void* p) const { plist_free(static_cast<plist_t>(p)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

struct CFree {
    void operator()(void* p) const { std::free(p); }
};

// libplist keeps every integer as 64 bits and marks those above the signed
// range (16 bytes in a binary list, digits without a sign in XML) by an
// internal length it has no accessor for in 2.2; only its XML writer shows it:
// such an integer is written unsigned, any other as signed. Asked only for
// integers with the top bit set, which are rare.
bool isUnsignedInteger(plist_t node) {
    PlistPtr copy(plist_copy(node));
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(copy.get(), &xml, &length);
    const char* at = xml ? std::strstr(xml, "<integer>") : nullptr;
    const bool unsignedValue = at && at[9] != '-';
    plist_to_xml_free(xml);
    return unsignedValue;
}

// The public way to make an integer node above the signed range in 2.2:
// plist_new_uint() marks its value signed, the XML reader does not.
plist_t newUnsignedInteger(uint64_t u) {
    const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><integer>" +
                            std::to_string(u) + "</integer></plist>";
    plist_t node = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &node);
    return node ? node : plist_new_uint(u);
}

// libplist's tree into a Value. The depth was bounded by the scan; the limit
// here is a second guard so that no input reaches unbounded recursion.
bool toValue(plist_t node, int depth, Value& out, std::string& error) {
    if (depth > PropertyList::kMaxDepth) {
        error = "nested too deeply";
        return false;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        out = Value(b != 0);
        return true;
    }
    case PLIST_UINT: {
        uint64_t u = 0;
        plist_get_uint_val(node, &u);
        if (u > static_cast<uint64_t>(INT64_MAX) && isUnsignedInteger(node))
            out = Value(static_cast<unsigned long long>(u));
        else
            out = Value(static_cast<long long>(static_cast<std::int64_t>(u)));  // two's complement
        return true;
    }
    case PLIST_UID: {
        uint64_t u = 0;
        plist_get_uid_val(node, &u);
        out = Value(static_cast<long long>(u));
        return true;
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        out = Value(d);
        return true;
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* s = plist_get_string_ptr(node, &length);
        out = Value(std::string(s ? s : "", s ? length : 0));
        return true;
    }
    case PLIST_DATA: {
        char* d = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &d, &length);
        std::unique_ptr<char, CFree> hold(d);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(d);
        out = Value(Data(bytes, bytes + (d ? length : 0)));
        return true;
    }
    case PLIST_DATE: {
        // libplist keeps the date's seconds in a double but hands them out as
        // whole seconds truncated toward zero in an int32_t, plus the fraction's
        // magnitude in microseconds. A date the int32_t cannot hold, NaN or an
        // infinity comes back as an end of the int32_t range (or a bogus
        // fraction), so the ends are refused rather than read as a wrong date.
        // Between -1 and 1 the sign of the fraction is lost: refused too.
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        if (sec == INT32_MIN || sec == INT32_MAX || usec < 0 || usec >= 1'000'000 || (sec == 0 && usec != 0)) {
            error = kDateOutOfRange;
            return false;
        }
        double fraction = static_cast<double>(usec) / 1e6;
        out = Value(Date{sec < 0 ? sec - fraction : sec + fraction});
        return true;
    }
    case PLIST_ARRAY: {
        Array items;
        uint32_t n = plist_array_get_size(node);
        items.reserve(n);
        for (uint32_t i = 0; i < n; ++i) {
            Value v;
            if (!toValue(plist_array_get_item(node, i), depth + 1, v, error)) return false;
            items.push_back(std::move(v));
        }
        out = Value(std::move(items));
        return true;
    }
    case PLIST_DICT: {
        Dictionary dict;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        std::unique_ptr<void, CFree> holdIter(it);
        for (;;) {
            char* key = nullptr;
            plist_t child = nullptr;
            plist_dict_next_item(node, it, &key, &child);
            std::unique_ptr<char, CFree> holdKey(key);
            if (!child) break;
            Value v;
            if (!toValue(child, depth + 1, v, error)) return false;
            dict.set(key ? key : "", std::move(v));
        }
        out = Value(std::move(dict));
        return true;
    }
    default:
        error = "unknown object type";
        return false;
    }
}

// Null on failure with the reason in error; null without a reason for a null
// value, which containers leave out.
plist_t fromValue(const Value& v, std::string& error) {
    switch (v.type()) {
    case Value::Type::Null:
        return nullptr;
    case Value::Type::Boolean:
        return plist_new_bool(v.boolValue() ? 1 : 0);
    case Value::Type::Integer:
        return v.isUnsigned() ? newUnsignedInteger(v.unsignedIntegerValue())
                              : plist_new_uint(static_cast<uint64_t>(v.integerValue()));
    case Value::Type::Real:
        return plist_new_real(v.doubleValue());
    case Value::Type::String:
        return plist_new_string(v.string().c_str());
    case Value::Type::Data: {
        const auto& d = v.data();
        return plist_new_data(reinterpret_cast<const char*>(d.data()), d.size());
    }
    case Value::Type::Date: {
        // Only what the reader can read back (see PLIST_DATE above); this also
        // keeps the seconds inside the int32_t that libplist takes.
        double s = v.date().secondsSinceReferenceDate;
        if (!(s > INT32_MIN && s < INT32_MAX) || (s != 0 && s > -1 && s < 1)) {
            error = kDateOutOfRange;
            return nullptr;
        }
        double whole = std::floor(s);
        return plist_new_date(static_cast<int32_t>(whole), static_cast<int32_t>((s - whole) * 1e6));
    }
    case Value::Type::Array: {
        plist_t a = plist_new_array();
        for (const auto& item : v.array()) {
            if (plist_t child = fromValue(item, error)) {
                plist_array_append_item(a, child);
            } else if (!error.empty()) {
                plist_free(a);
                return nullptr;
            }
        }
        return a;
    }
    case Value::Type::Dictionary: {
        plist_t d = plist_new_dict();
        for (const auto& [key, item] : v.dictionary()) {
            if (plist_t child = fromValue(item, error)) {
                plist_dict_set_item(d, key.c_str(), child);
            } else if (!error.empty()) {
                plist_free(d);
                return nullptr;
            }
        }
        return d;
    }
    }
    return nullptr;
}

}  // namespace

Value PropertyList::read(std::string_view bytes, std::string* error) {
    if (bytes.size() > kMaxBytes) {
        setError(error, "property list larger than 64 MiB");
        return {};
    }
    std::string why;
    bool binary = bytes.size() >= 8 && bytes.substr(0, 8) == "bplist00";
    if (!(binary ? PropertyListScan::binary(bytes, why) : PropertyListScan::xml(bytes, why))) {
        setError(error, why);
        return {};
    }
    plist_t root = nullptr;
    if (binary)
        plist_from_bin(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    else
        plist_from_xml(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    PlistPtr hold(root);
    if (!root) {
        setError(error, binary ? "malformed binary property list" : "malformed XML property list");
        return {};
    }
    Value out;
    if (!toValue(root, 0, out, why)) {
        setError(error, why);
        return {};
    }
    return out;
}

Value PropertyList::readFile(const std::string& path, std::string* error) {
    std::string bytes;
    switch (FileBytes::read(path, kMaxBytes, &bytes)) {
        case FileBytes::Status::ok: break;
        case FileBytes::Status::cannotOpen: setError(error, "cannot open " + path); return {};
        case FileBytes::Status::cannotRead: setError(error, "cannot read " + path); return {};
        case FileBytes::Status::tooLarge: setError(error, path + ": property list larger than 64 MiB"); return {};
    }
    std::string why;
    Value v = read(bytes, &why);
    if (!why.empty()) setError(error, path + ": " + why);
    return v;
}

std::string PropertyList::toXml(const Value& value, std::string* error) {
    std::string why;
    PlistPtr root(fromValue(value, why));
    if (!why.empty()) {
        setError(error, why);
        return {};
    }
    if (!root) root.reset(plist_new_dict());
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    std::string out(xml ? xml : "", xml ? length : 0);
    plist_to_xml_free(xml);
    return out;
}

bool PropertyList::writeFile(const Value& value, const std::string& path, std::string* error) {
    std::string why;
    std::string xml = toXml(value, &why);
    if (!why.empty()) {
        setError(error, path + ": " + why);
        return false;
    }
    return AtomicFile::write(path, xml, error);
}

}  // namespace kz
