#include "host/CustomEntryEscapes.h"

#include "Common/TextInput/StringEscapeConverter.h"

namespace kzpde {

namespace {

namespace kzp = ComTORVALEKZ2R4_Plugin;

const kzp::StringEscapeConverter& converter() {
    static const auto c = [] {
        auto made = kzp::StringEscapeConverter::emptyConverter();
        made->replace("%", "%x25");
        made->replace("'", "%x27");
        made->replace(",", "%x2C");
        return made;
    }();
    return *c;
}

}  // namespace

std::string CustomEntryEscapes::escape(const std::string& text) { return converter().escape(text); }

std::string CustomEntryEscapes::unEscape(const std::string& stored) { return converter().unEscape(stored); }

}  // namespace kzpde
