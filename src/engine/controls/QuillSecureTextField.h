#pragma once

#include <string>

#include "engine/controls/QuillTextField.h"

namespace ComTORVALEKZ2R4_Plugin {

// The password field of an option control. It keeps the same fields and
// operations as QuillTextField (the kit's password field adds nothing but
// hiding its text), and differs in three ways: no maximum check while
// typing, text typing is only checked and never refused, and a number set
// with setDoubleValue goes through the platform's setter.
class KZ_EXPORT QuillSecureTextField : public QuillTextField {
public:
    using QuillTextField::QuillTextField;
    std::string className() const override { return "QuillSecureTextField"; }
    bool isSecure() const override { return true; }

    void setKeyword(const std::string& keyword) override;
    void setDoubleValue(double value) override;

protected:
    bool acceptsTyping(const std::string& candidate) const override;
};

}  // namespace ComTORVALEKZ2R4_Plugin
