#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/ScratchFile.h"

namespace kzpde {

// A document an application pipes into the tool (`print -`, `dialog -`):
// spooled into a scratch file as it comes, never held in memory, up to a
// limit, and taken only when its first bytes say PDF or PostScript, the two
// kinds every product queue's filters print. The file lives as long as this
// object; CUPS reads it by path().
class StandardInputDocument {
public:
    // What a job from standard input is named when the user types no name,
    // as `lp` names one.
    static constexpr const char* kTitle = "(stdin)";
    // A bound on what is spooled, so that a writer that never stops cannot
    // fill the temporary folder.
    static constexpr std::uint64_t kMaxBytes = std::uint64_t(4) << 30;

    // The MIME type the first bytes of a document tell ("application/pdf",
    // "application/postscript"), or nullptr when they tell neither.
    static const char* formatOf(std::string_view start);

    // Reads FD to its end into the scratch file; false with the reason in
    // *error (a terminal, nothing read, neither kind, more than LIMIT bytes,
    // a read or write that failed). Bytes after a refused start are not read.
    bool read(int fd, std::string* error, std::uint64_t limit = kMaxBytes);

    const std::string& path() const;
    // The document's MIME type once read.
    const char* format() const { return _format; }

private:
    std::unique_ptr<kz::ScratchFile> _file;
    const char* _format = nullptr;
};

}  // namespace kzpde
