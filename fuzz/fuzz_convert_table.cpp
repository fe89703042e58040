// Arbitrary bytes as a convert table; when they make one, every entry
// converts values of each kind both ways and the whole table converts a print
// option built from its own items.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/conversion/ConvertTable.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "platform/foundation/Log.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (kz::Log::setSyslogEnabled(false), true);
    (void)quiet;
    kz::LogCapture log;  // keeps the lines off the terminal
    std::optional<kzp::ConvertTable> table =
        kzp::ConvertTable::read(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!table) return 0;
    const kz::Value probes[] = {kz::Value(0),          kz::Value(1),    kz::Value(-1),
                                kz::Value(9223372036854775807LL), kz::Value(2.5), kz::Value("12.75"),
                                kz::Value("Bin3"),     kz::Value("True"), kz::Value(true),
                                kz::Value("\xC2\xA5x"), kz::Value("1e400"), kz::Value("")};
    kz::Dictionary option, tags;
    int n = 0;
    for (const auto& [mainKeyword, entry] : table->entries()) {
        if (++n > 64) break;
        for (const kz::Value& probe : probes) {
            entry.optionKeywordForTagValue(probe);
            entry.tagValueForOptionKeyword(probe);
        }
        option.set(mainKeyword, probes[n % 12]);
        if (entry.tagKey()) tags.set(*entry.tagKey(), probes[(n + 5) % 12]);
    }
    kzp::PrintOptionConverter::toInputMgrFormat(option, *table);
    kzp::PrintOptionConverter::toPpdKeywordFormat(tags, *table);
    log.clear();
    return 0;
}
