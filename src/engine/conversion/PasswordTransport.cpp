#include "engine/conversion/PasswordTransport.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

class LibraryTransport final : public PasswordTransport {
public:
    int encode(std::string_view plain, EncDecBuffer& out) override { return ComTORVALEKZ2R4_Plugin::encode(plain, out); }
    int decode(std::string_view encoded, EncDecBuffer& out) override {
        return ComTORVALEKZ2R4_Plugin::decode(encoded, out);
    }
};

}  // namespace

PasswordTransport& PasswordTransport::library() {
    static LibraryTransport transport;
    return transport;
}

}  // namespace ComTORVALEKZ2R4_Plugin
