#include "Common/Util/TextByteLength.h"

#include <unicode/ucnv.h>

#include <vector>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::string& name() {
    static std::string n = "windows-1252";
    return n;
}

}  // namespace

void TextByteLength::setEncodingName(std::string encoding) { name() = std::move(encoding); }
const std::string& TextByteLength::encodingName() { return name(); }

std::size_t TextByteLength::measure(std::string_view utf8) {
    if (utf8.empty()) return 0;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* target = ucnv_open(name().c_str(), &status);
    if (U_FAILURE(status)) return utf8.size();
    ucnv_setSubstChars(target, "?", 1, &status);
    UConverter* source = ucnv_open("UTF-8", &status);
    std::size_t total = 0;
    if (U_SUCCESS(status)) {
        std::vector<char> out(4 * utf8.size() + 16);
        char* dst = out.data();
        const char* src = utf8.data();
        ucnv_convertEx(target, source, &dst, out.data() + out.size(), &src, utf8.data() + utf8.size(), nullptr,
                       nullptr, nullptr, nullptr, true, true, &status);
        total = U_SUCCESS(status) ? static_cast<std::size_t>(dst - out.data()) : utf8.size();
    } else {
        total = utf8.size();
    }
    ucnv_close(source);
    ucnv_close(target);
    return total;
}

}  // namespace ComTORVALEKZ2R4_Plugin
