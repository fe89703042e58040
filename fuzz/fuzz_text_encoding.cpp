// Bytes from PPDs, favorite files and servers, decoded in every encoding, and
// the same bytes as UTF-8 text through the Unicode helpers and the decimal
// reader. Decoded text must be valid UTF-8; a decimal must read back as itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/Decimal.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    using kz::Encoding;
    for (auto e : {Encoding::UTF8, Encoding::ASCII, Encoding::MacRoman, Encoding::MacJapanese,
                   Encoding::MacChineseSimplified, Encoding::EUCJP, Encoding::Windows1252,
                   Encoding::Windows932, Encoding::DOSLatin1, Encoding::ShiftJIS}) {
        auto text = kz::TextEncoding::decode(bytes, e);
        if (!text) continue;
        if (!kz::TextEncoding::isValidUtf8(*text)) std::abort();
        (void)kz::TextEncoding::encode(*text, e);
        (void)kz::TextEncoding::encodeLossy(*text, e);
    }
    (void)kz::TextEncoding::encodeLossy(bytes, Encoding::Windows932);
    (void)kz::Text::utf16Length(bytes);
    (void)kz::Text::compareCaseInsensitive(bytes, "Tray");
    (void)kz::Text::replaceCaseInsensitive(bytes, bytes.substr(0, size / 4), "x");
    if (auto d = kz::Decimal::parse(bytes)) {
        const std::string shown = d->toString();
        const auto back = kz::Decimal::parse(shown);
        if (shown.size() <= 1000 && (!back || *back != *d)) std::abort();
    }
    return 0;
}
