#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <libxml/tree.h>

#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

// Reading the values of a reply from its elements, and the one safe way the
// client parses reply bytes.
class KZ_EXPORT SoapXml {
public:
    // Replies above this size are refused before parsing.
    static constexpr std::size_t kMaxReplyBytes = 64u << 20;

    // Parses without network access, DTD loading or entity substitution, and
    // refuses documents that carry a DTD (a SOAP message has none). nullptr
    // on failure; the caller frees the document with xmlFreeDoc.
    static xmlDocPtr parse(std::string_view bytes);

    // The concatenated text children (UTF-8), or nullopt when there are none.
    static std::optional<std::string> text(xmlNodePtr node);
    static std::optional<double> number(xmlNodePtr node);
    // "true" or "false"; any other text gives nullopt.
    static std::optional<bool> boolean(xmlNodePtr node);
    static std::optional<kz::Date> date(xmlNodePtr node);
    static std::optional<kz::Data> data(xmlNodePtr node);

    // The class an xsi:type attribute names: standard prefix + "_" + local
    // name, or the value itself without a colon (or with a prefix of no known
    // namespace, which then names no class); nullopt without the attribute.
    static std::optional<std::string> typeClass(xmlNodePtr node);

    static bool isElement(xmlNodePtr node, const char* localName);
    static std::string attribute(xmlNodePtr node, const char* name, bool* present = nullptr);

    static std::string isoDate(kz::Date date);
    static std::optional<kz::Date> parseIsoDate(std::string_view text);
    static std::string base64(const kz::Data& data);
    // Escapes text for element content and attribute values.
    static std::string escape(std::string_view text);
};

}  // namespace ComTORVALEKZ2R4_Plugin
