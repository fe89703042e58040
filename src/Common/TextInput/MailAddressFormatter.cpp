#include "Common/TextInput/MailAddressFormatter.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

bool isSeparator(char c) {
    switch (c) {
        case ';': case ',': case ' ': case '\t': case '\n': case '\v': case '\f': case '\r': return true;
        default: return false;
    }
}

}  // namespace

std::size_t MailAddressFormatter::countMailAddresses(std::string_view text) {
    std::size_t count = 0, at = 0;
    while (at < text.size() && isSeparator(text[at])) ++at;
    while (at < text.size()) {
        std::size_t start = at;
        while (at < text.size() && !isSeparator(text[at])) ++at;
        if (at == start) break;  // cannot happen after skipping separators
        while (at < text.size() && isSeparator(text[at])) ++at;
        ++count;
    }
    return count;
}

bool MailAddressFormatter::isValidMailAddressList(std::string_view text) { return countMailAddresses(text) > 0; }

}  // namespace ComTORVALEKZ2R4_Plugin
