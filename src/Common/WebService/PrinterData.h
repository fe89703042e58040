#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <cups/ppd.h>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The server lists a printer's PPD carries. A list named N is a run of
// attributes N0000, N0001, ... without gaps; each value is Base64 of one chunk
// (at most 159 bytes, so a line stays below the PPD limit of 255 characters)
// of a single zlib stream whose inflated bytes are a property list.
//
// The reader takes chunks of up to 159 bytes. The writer cuts its stream into
// chunks of at most 158, which readers that decode with one byte less of room
// also read whole. After a damaged chunk the reader carries on with the next
// as raw deflate data, which recovers streams flushed at every chunk.
class KZ_EXPORT PrinterData {
public:
    static constexpr std::size_t kChunkBytes = 159;
    static constexpr std::size_t kWrittenChunkBytes = 158;
    // Inflated data beyond this is dropped: a hostile stream cannot make the
    // panel allocate more than 16 MiB.
    static constexpr std::size_t kMaxCapacity = 0xFFFFFF;

    // "%s%04X" of the base name and the sequence number.
    static std::string attributeName(std::string_view base, unsigned sequence);

    // The inflated bytes of the run named `name`, or nullopt when the PPD has
    // no such run. Damaged chunks are logged and skipped.
    static std::optional<std::string> read(ppd_file_t* ppd, std::string_view name);

    // The Base64 values of the chunks that carry `bytes`, in sequence order.
    static std::vector<std::string> encode(std::string_view bytes);

    // `ppdText` with every attribute of the run `name` removed and the run
    // carrying `bytes` appended.
    static std::string embed(std::string_view ppdText, std::string_view name, std::string_view bytes);

    // Base names of every run the PPD carries (names with a 0000 attribute),
    // sorted.
    static std::vector<std::string> runNames(ppd_file_t* ppd);
};

// The reader in the panel's calling convention: a malloc'd NUL-terminated
// buffer the caller frees, or nullptr; *size excludes the NUL and is 0 on
// failure.
KZ_EXPORT char* ppdxReadData(ppd_file_t* ppd, const char* name, std::size_t* size);

}  // namespace ComTORVALEKZ2R4_Plugin
