#include "Common/TextInput/PageRangeFormatter.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <string>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Removes tabs and space separators (not line feeds, which split pieces).
// Bytes that are not UTF-8 stay, so that they make their piece invalid.
std::string withoutBlanks(std::string_view text) {
    std::string out;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c >= 0 && u_isblank(c)) continue;
        out.append(text.data() + start, static_cast<std::size_t>(i - start));
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number at `at`, saturated well above the highest page.
long long readNumber(std::string_view piece, std::size_t& at) {
    constexpr long long kCap = 1LL << 40;
    long long value = 0;
    for (; at < piece.size() && isDigit(piece[at]); ++at)
        value = value >= kCap ? kCap : value * 10 + (piece[at] - '0');
    return value;
}

enum class Piece { Error, InRange, OutOfRange };

Piece checkPiece(std::string_view piece) {
    constexpr long long lowest = PageRangeFormatter::kLowestPage, highest = PageRangeFormatter::kHighestPage;
    std::size_t at = 0;
    long long first = isDigit(piece[0]) ? readNumber(piece, at) : lowest;
    long long second = first;
    if (at < piece.size() && piece[at] == '-') {
        ++at;
        if (at < piece.size() && isDigit(piece[at])) second = readNumber(piece, at);
    }
    if (at != piece.size() || second < first || first == 0) return Piece::Error;
    bool inRange = (first < lowest && lowest <= second && second <= highest) ||
                   (first >= lowest && (second <= highest || first <= highest));
    return inRange ? Piece::InRange : Piece::OutOfRange;
}

}  // namespace

bool PageRangeFormatter::isValidPageRanges(std::string_view text) {
    std::string compact = withoutBlanks(text);
    if (compact.empty()) return true;
    bool anyInRange = false;
    std::size_t start = 0;
    while (start <= compact.size()) {
        std::size_t end = compact.find_first_of(",\n", start);
        if (end == std::string::npos) end = compact.size();
        std::string_view piece(compact.data() + start, end - start);
        start = end + 1;
        if (piece.empty()) continue;
        if (piece == "-") return false;
        switch (checkPiece(piece)) {
            case Piece::Error: return false;
            case Piece::InRange: anyInRange = true; break;
            case Piece::OutOfRange: break;
        }
    }
    return anyInRange;
}

}  // namespace ComTORVALEKZ2R4_Plugin
