#include "Common/WebService/SoapXml.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include <cups/http.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include "Common/WebService/USGlobals.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

void ignoreXmlMessage(void*, const char*, ...) {}

// The parser options silence the parser itself, but encoding and I/O
// failures still go to libxml2's generic handler, which prints to standard
// error; a hostile reply would write there at will. The handler is the
// calling thread's, put back afterwards.
class QuietXml {
public:
    QuietXml() : _handler(xmlGenericError), _context(xmlGenericErrorContext) {
        xmlSetGenericErrorFunc(nullptr, ignoreXmlMessage);
    }
    ~QuietXml() { xmlSetGenericErrorFunc(_context, _handler); }
    QuietXml(const QuietXml&) = delete;
    QuietXml& operator=(const QuietXml&) = delete;

private:
    xmlGenericErrorFunc _handler;
    void* _context;
};

}  // namespace

xmlDocPtr SoapXml::parse(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > kMaxReplyBytes) return nullptr;
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    QuietXml quiet;
    xmlDocPtr doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "reply.xml", nullptr, options);
    if (!doc) return nullptr;
    if (doc->intSubset || doc->extSubset || !xmlDocGetRootElement(doc)) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    return doc;
}

std::optional<std::string> SoapXml::text(xmlNodePtr node) {
    if (!node) return std::nullopt;
    std::optional<std::string> result;
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && child->content) {
            if (!result) result.emplace();
            *result += reinterpret_cast<const char*>(child->content);
        }
    }
    return result;
}

std::optional<double> SoapXml::number(xmlNodePtr node) {
    auto t = text(node);
    if (!t) return std::nullopt;
    return kz::doubleValueOfText(*t);
}

std::optional<bool> SoapXml::boolean(xmlNodePtr node) {
    auto t = text(node);
    if (t == "true") return true;
    if (t == "false") return false;
    return std::nullopt;
}

std::optional<kz::Date> SoapXml::date(xmlNodePtr node) {
    auto t = text(node);
    return t ? parseIsoDate(*t) : std::nullopt;
}

std::optional<kz::Data> SoapXml::data(xmlNodePtr node) {
    auto t = text(node);
    if (!t) return std::nullopt;
    std::string buffer(t->size() + 4, '\0');
    int length = static_cast<int>(buffer.size());
    if (!httpDecode64_2(buffer.data(), &length, t->c_str())) return std::nullopt;
    return kz::Data(buffer.begin(), buffer.begin() + length);
}

std::optional<std::string> SoapXml::typeClass(xmlNodePtr node) {
    xmlChar* raw = xmlGetNsProp(node, BAD_CAST "type", BAD_CAST SoapNamespace::kSchemaInstance);
    if (!raw) return std::nullopt;
    std::string value(reinterpret_cast<const char*>(raw));
    xmlFree(raw);
    auto colon = value.find(':');
    if (colon == std::string::npos) return value;
    std::string prefix = value.substr(0, colon);
    xmlNsPtr ns = xmlSearchNs(node->doc, node, BAD_CAST prefix.c_str());
    if (!ns || !ns->href) return value;
    const auto& known = USGlobals::sharedInstance().wsdlStandardNamespaces;
    auto it = known.find(reinterpret_cast<const char*>(ns->href));
    if (it == known.end()) return value;
    return it->second + "_" + value.substr(colon + 1);
}

bool SoapXml::isElement(xmlNodePtr node, const char* localName) {
    return node && node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST localName) == 0;
}

std::string SoapXml::attribute(xmlNodePtr node, const char* name, bool* present) {
    xmlChar* raw = xmlGetProp(node, BAD_CAST name);
    if (present) *present = raw != nullptr;
    if (!raw) return {};
    std::string value(reinterpret_cast<const char*>(raw));
    xmlFree(raw);
    return value;
}

std::string SoapXml::isoDate(kz::Date date) {
    const double unix = date.unixTime();
    std::time_t seconds = static_cast<std::time_t>(std::floor(unix));
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

std::optional<kz::Date> SoapXml::parseIsoDate(std::string_view input) {
    std::string text(input);
    std::tm tm{};
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour,
                    &tm.tm_min, &tm.tm_sec, &consumed) != 6)
        return std::nullopt;
    if (tm.tm_mon < 1 || tm.tm_mon > 12 || tm.tm_mday < 1 || tm.tm_mday > 31 || tm.tm_hour > 24 || tm.tm_min > 59 ||
        tm.tm_sec > 60)
        return std::nullopt;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    double seconds = static_cast<double>(timegm(&tm));
    std::string_view rest = std::string_view(text).substr(static_cast<std::size_t>(consumed));
    if (!rest.empty() && rest[0] == '.') {
        std::size_t n = 1;
        double scale = 0.1, fraction = 0;
        for (; n < rest.size() && rest[n] >= '0' && rest[n] <= '9'; ++n, scale /= 10) fraction += (rest[n] - '0') * scale;
        seconds += fraction;
        rest.remove_prefix(n);
    }
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        int hours = 0, minutes = 0;
        if (std::sscanf(std::string(rest.substr(1)).c_str(), "%2d:%2d", &hours, &minutes) < 1) return std::nullopt;
        const double offset = hours * 3600.0 + minutes * 60.0;
        seconds += rest[0] == '+' ? -offset : offset;
    } else if (!rest.empty() && rest != "Z") {
        return std::nullopt;
    }
    return kz::Date::fromUnix(seconds);
}

std::string SoapXml::base64(const kz::Data& data) {
    std::string out((data.size() + 2) / 3 * 4 + 1, '\0');
    httpEncode64_2(out.data(), static_cast<int>(out.size()), reinterpret_cast<const char*>(data.data()),
                   static_cast<int>(data.size()));
    out.resize(std::char_traits<char>::length(out.c_str()));
    return out;
}

std::string SoapXml::escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace ComTORVALEKZ2R4_Plugin
