#include "platform/printing/LpoptionsText.h"

#include <strings.h>

#include <vector>

namespace kz {

namespace {

struct Line {
    std::string_view whole;
    bool isDefault = false;
    std::string_view destination;  // QUEUE[/INSTANCE]
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view nextWord(std::string_view& rest) {
    std::size_t start = 0;
    while (start < rest.size() && isSpace(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !isSpace(rest[end])) ++end;
    std::string_view word = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return word;
}

bool sameWord(std::string_view word, const char* keyword) {
    return word.size() == std::char_traits<char>::length(keyword) &&
           ::strncasecmp(word.data(), keyword, word.size()) == 0;
}

// The "Dest" and "Default" lines that name a destination; the rest
// (comments, blank lines, anything else) libcups skips, and so does this.
std::vector<Line> destinationLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view whole = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::string_view rest = whole;
        std::string_view keyword = nextWord(rest);
        const bool isDefault = sameWord(keyword, "default");
        if (!isDefault && !sameWord(keyword, "dest")) continue;
        std::string_view destination = nextWord(rest);
        if (destination.empty()) continue;
        lines.push_back({whole, isDefault, destination});
    }
    return lines;
}

}  // namespace

std::string LpoptionsText::defaultDestination(std::string_view text) {
    std::string found;
    for (const Line& line : destinationLines(text))
        if (line.isDefault) found = line.destination;
    return found;
}

std::string LpoptionsText::linesOfOtherQueues(std::string_view text,
                                              const std::function<bool(std::string_view queue)>& known) {
    std::string kept;
    for (const Line& line : destinationLines(text)) {
        std::string_view queue = line.destination.substr(0, line.destination.find('/'));
        if (known(queue)) continue;
        kept.append(line.whole);
        kept.push_back('\n');
    }
    return kept;
}

}  // namespace kz
