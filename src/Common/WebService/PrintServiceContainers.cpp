#include "Common/WebService/PrintServiceContainers.h"

#include <cstring>

#include "Common/WebService/SoapXml.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr int kMaxDepth = 64;  // nesting a hostile reply may ask for
thread_local int depth = 0;

struct DepthGuard {
    bool ok;
    DepthGuard() : ok(++depth <= kMaxDepth) {}
    ~DepthGuard() { --depth; }
};

std::optional<long long> readD(xmlNodePtr node) {
    bool present = false;
    std::string d = SoapXml::attribute(node, "d", &present);
    if (!present) return std::nullopt;
    return kz::integerValueOfText(d);
}

template <class Container>
void readItems(xmlNodePtr node, Container& container, const char* itemClass) {
    container.d = readD(node);
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (!SoapXml::isElement(child, "item")) continue;
        if (auto value = deserializeTyped(child, itemClass)) container.addItem(std::move(*value));
    }
}

bool isNumberClass(const std::string& c) {
    static const char* const names[] = {"xsd_int",     "xsd_unsignedInt",  "xsd_long",   "xsd_unsignedLong",
                                        "xsd_short",   "xsd_unsignedShort", "xsd_byte",   "xsd_unsignedByte",
                                        "xsd_integer", "xsd_double",        "xsd_float",  "xsd_decimal"};
    for (const char* n : names)
        if (c == n) return true;
    return false;
}

}  // namespace

std::optional<PropItem> deserializeTyped(xmlNodePtr node, const char* defaultClass) {
    DepthGuard guard;
    if (!guard.ok) return std::nullopt;
    const std::string cls = SoapXml::typeClass(node).value_or(defaultClass);
    if (cls == "PrintService_PropKeyValue") return PropItem(PrintService_PropKeyValue::deserializeNode(node));
    if (cls == "PrintService_PropDict") return PropItem(PrintService_PropDict::deserializeNode(node));
    if (cls == "PrintService_PropArray") return PropItem(PrintService_PropArray::deserializeNode(node));
    if (cls == "xsd_string" || cls == "NSString") {
        auto t = SoapXml::text(node);
        return t ? std::optional<PropItem>(*t) : std::nullopt;
    }
    if (isNumberClass(cls)) {
        auto n = SoapXml::number(node);
        return n ? std::optional<PropItem>(*n) : std::nullopt;
    }
    if (cls == "xsd_boolean") {
        auto b = SoapXml::boolean(node);
        return b ? std::optional<PropItem>(*b) : std::nullopt;
    }
    if (cls == "xsd_dateTime") {
        auto d = SoapXml::date(node);
        return d ? std::optional<PropItem>(*d) : std::nullopt;
    }
    if (cls == "xsd_base64Binary") {
        auto d = SoapXml::data(node);
        return d ? std::optional<PropItem>(*d) : std::nullopt;
    }
    return std::nullopt;
}

std::shared_ptr<PrintService_PropKeyValue> PrintService_PropKeyValue::deserializeNode(xmlNodePtr node) {
    auto kv = std::make_shared<PrintService_PropKeyValue>();
    bool present = false;
    std::string key = SoapXml::attribute(node, "key", &present);
    if (present) kv->key = key;
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (!SoapXml::isElement(child, "val")) continue;
        // Replies type scalar values as they like; the text is what counts.
        auto cls = SoapXml::typeClass(child);
        if (cls == "PrintService_PropArray" || cls == "PrintService_PropDict") {
            kv->val = deserializeTyped(child, "xsd_string");
        } else if (auto t = SoapXml::text(child)) {
            kv->val = PropItem(*t);
        }
        break;
    }
    return kv;
}

std::shared_ptr<PrintService_PropDict> PrintService_PropDict::deserializeNode(xmlNodePtr node) {
    auto dict = std::make_shared<PrintService_PropDict>();
    readItems(node, *dict, "PrintService_PropKeyValue");
    return dict;
}

std::shared_ptr<PrintService_PropArray> PrintService_PropArray::deserializeNode(xmlNodePtr node) {
    auto array = std::make_shared<PrintService_PropArray>();
    readItems(node, *array, "xsd_string");
    return array;
}

kz::Value propItemValue(const PropItem& item) {
    struct Visitor {
        kz::Value operator()(const std::string& s) const { return s; }
        kz::Value operator()(double d) const { return d; }
        kz::Value operator()(bool b) const { return b; }
        kz::Value operator()(kz::Date d) const { return d; }
        kz::Value operator()(const kz::Data& d) const { return d; }
        kz::Value operator()(const std::shared_ptr<PrintService_PropKeyValue>& kv) const {
            kz::Dictionary entry;
            entry.set(kv->key.value_or(""), kv->val ? propItemValue(*kv->val) : kz::Value());
            return entry;
        }
        kz::Value operator()(const std::shared_ptr<PrintService_PropDict>& d) const { return items(d->item); }
        kz::Value operator()(const std::shared_ptr<PrintService_PropArray>& a) const { return items(a->item); }
        static kz::Value items(const std::vector<PropItem>& list) {
            kz::Array out;
            for (const auto& i : list) out.push_back(propItemValue(i));
            return out;
        }
    };
    return std::visit(Visitor{}, item);
}

}  // namespace ComTORVALEKZ2R4_Plugin
