// The defaults of a control type: a type without a widget.
#include "engine/controls/types/QuillControlType.h"

namespace ComTORVALEKZ2R4_Plugin {

void QuillControlType::build(QuillUI&, const Frame&) const {}

void QuillControlType::read(QuillUI&) const {}

void QuillControlType::write(QuillUI&, const OptionalText&) const {}

OptionalText QuillControlType::shown(const QuillUI&) const { return std::nullopt; }

double QuillControlType::height(const QuillUI&, bool, bool) const { return 0; }

std::size_t QuillControlType::utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace ComTORVALEKZ2R4_Plugin
