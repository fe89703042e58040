#include "support/StandardInputDocument.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace kzpde {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// Enough of the start to tell the kinds apart (a PostScript file's "%!"
// may follow a Ctrl-D).
constexpr std::size_t kSniff = 8;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Reads what FD has, up to SIZE bytes; 0 at the end, -1 on an error.
ssize_t readSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

}  // namespace

const char* StandardInputDocument::formatOf(std::string_view start) {
    // As the scheduler's own type rules tell them: a PDF's header may follow
    // line ends; PostScript starts "%!", or after the Ctrl-D some drivers
    // send first.
    std::string_view pdf = start.substr(std::min(start.find_first_not_of("\r\n"), start.size()));
    if (startsWith(pdf, "%PDF-")) return "application/pdf";
    if (startsWith(start, "%!") || startsWith(start, "\x04%!")) return "application/postscript";
    return nullptr;
}

const std::string& StandardInputDocument::path() const {
    static const std::string none;
    return _file ? _file->path() : none;
}

bool StandardInputDocument::read(int fd, std::string* error, std::uint64_t limit) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        _file.reset();
        _format = nullptr;
        return false;
    };
    if (::isatty(fd) == 1) return fail("standard input is a terminal: pipe a PDF or PostScript document into it");
    std::vector<char> buffer(kChunk);
    // The start first, so that anything else is refused before it is spooled.
    std::size_t have = 0;
    auto enough = [&] {
        std::string_view start(buffer.data(), have);
        std::size_t lineEnds = start.find_first_not_of("\r\n");
        return lineEnds != std::string_view::npos && have - lineEnds >= kSniff;
    };
    while (!enough() && have < buffer.size()) {
        ssize_t n = readSome(fd, buffer.data() + have, buffer.size() - have);
        if (n < 0) return fail(std::string("cannot read standard input: ") + std::strerror(errno));
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have == 0) return fail("standard input is empty: no document to print");
    const char* format = formatOf(std::string_view(buffer.data(), have));
    if (!format)
        return fail("standard input is neither PDF nor PostScript (it starts with neither \"%PDF-\" nor \"%!\")");
    _file = std::make_unique<kz::ScratchFile>();
    if (!_file->valid()) return fail(std::string("cannot make a scratch file: ") + std::strerror(errno));
    std::uint64_t total = 0;
    std::string why;
    for (std::size_t n = have; n > 0;) {
        total += n;
        if (total > limit)
            return fail("standard input is larger than " + std::to_string(limit) + " bytes, more than is spooled");
        if (!_file->append(std::string_view(buffer.data(), n), &why)) return fail(why);
        ssize_t got = readSome(fd, buffer.data(), buffer.size());
        if (got < 0) return fail(std::string("cannot read standard input: ") + std::strerror(errno));
        n = static_cast<std::size_t>(got);
    }
    _format = format;
    return true;
}

}  // namespace kzpde
