#pragma once

#include "platform/kit/TextField.h"

namespace kz {

// A password field: the same editing, its text never shown.
class KZ_EXPORT SecureTextField : public TextField {
public:
    using TextField::TextField;
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }
    bool isSecure() const override { return true; }
};

}  // namespace kz
