#include "engine/controls/QuillSecureTextField.h"

namespace ComTORVALEKZ2R4_Plugin {

void QuillSecureTextField::setKeyword(const std::string& keyword) {
    // A password field does not scroll its hidden text.
    QuillTextField::setKeyword(keyword);
    setScrollsHorizontally(false);
}

void QuillSecureTextField::setDoubleValue(double value) {
    kz::TextField::setDoubleValue(value);
    validateTextField();
}

bool QuillSecureTextField::acceptsTyping(const std::string& candidate) const {
    // The maximum is left to the end of the edit, which clamps with an alert.
    if (isNum()) return isNumFormat(candidate);
    // Text is checked but never refused while it is typed.
    (void)isTextFormat(candidate);
    return true;
}

}  // namespace ComTORVALEKZ2R4_Plugin
