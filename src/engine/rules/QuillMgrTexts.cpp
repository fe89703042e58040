#include "engine/rules/QuillMgrTexts.h"

namespace ComTORVALEKZ2R4_Plugin {

void QuillMgrTexts::setResourcePath(const std::string& path) {
    if (_path) return;
    _path = path;
    _bundle = kz::Bundle::open(path);
}

std::string QuillMgrTexts::lookup(std::string_view key) const {
    std::string k(key);
    return _bundle ? _bundle->localizedString(k, k, "UI") : k;
}

std::string QuillMgrTexts::fill(std::string_view format, const std::vector<std::string>& texts) {
    std::string out;
    std::size_t next = 0;
    auto text = [&](std::size_t i) -> const std::string& {
        static const std::string kNone;
        return i < texts.size() ? texts[i] : kNone;
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format[i + 1] == '@') {
            out += text(next++);
            ++i;
        } else if (format[i + 1] == '%') {
            out += '%';
            ++i;
        } else {
            std::size_t j = i + 1;
            std::size_t position = 0;
            while (j < format.size() && j - i <= 3 && format[j] >= '0' && format[j] <= '9')
                position = position * 10 + static_cast<std::size_t>(format[j++] - '0');
            if (position > 0 && j + 1 < format.size() && format[j] == '$' && format[j + 1] == '@') {
                out += text(position - 1);
                i = j + 1;
            } else {
                out += c;
            }
        }
    }
    return out;
}

}  // namespace ComTORVALEKZ2R4_Plugin
