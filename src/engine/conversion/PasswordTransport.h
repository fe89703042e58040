#pragma once

#include <string_view>

#include "Common/Security/EncDec.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The transport encoding of password options, behind an interface so that the
// option conversion can be exercised without the password library.
class KZ_EXPORT PasswordTransport {
public:
    virtual ~PasswordTransport() = default;
    // 0 on success; `out` then holds the zero-terminated result.
    virtual int encode(std::string_view plain, EncDecBuffer& out) = 0;
    virtual int decode(std::string_view encoded, EncDecBuffer& out) = 0;

    // The password library loaded by the plug-in (EncDec).
    static PasswordTransport& library();
};

}  // namespace ComTORVALEKZ2R4_Plugin
