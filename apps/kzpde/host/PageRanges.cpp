#include "host/PageRanges.h"

#include <charconv>

namespace kzpde {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A page number: digits only, 1 to the highest page.
std::optional<long long> page(std::string_view text) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < 1 || value > PageRanges::kHighestPage) return std::nullopt;
    return value;
}

std::optional<std::string> refuse(std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> PageRanges::normalized(std::string_view text, std::string* why) {
    if (text.size() > kMaxText) return refuse(why, "longer than " + std::to_string(kMaxText) + " characters");
    if (trimmed(text).empty()) return refuse(why, "no pages given");
    std::string out;
    long long previous = 0;
    int count = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view piece = trimmed(text.substr(0, comma));
        const std::string shown(piece);
        if (++count > kMaxRanges) return refuse(why, "more than " + std::to_string(kMaxRanges) + " ranges");
        const std::size_t dash = piece.find('-');
        const auto lower = page(trimmed(piece.substr(0, dash)));
        std::optional<long long> upper = lower;
        if (dash != std::string_view::npos) {
            const std::string_view rest = trimmed(piece.substr(dash + 1));
            upper = rest.empty() ? std::optional<long long>(kHighestPage) : page(rest);
        }
        if (!lower || !upper) return refuse(why, "'" + shown + "' is not N, N-M or N- with pages from 1");
        if (*upper < *lower) return refuse(why, "'" + shown + "' ends before it begins");
        if (*lower <= previous) return refuse(why, "'" + shown + "' is not after the range before it");
        previous = *upper;
        if (!out.empty()) out += ',';
        out += std::to_string(*lower) + "-" + std::to_string(*upper);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
        if (previous == kHighestPage) return refuse(why, "a range follows one that runs to the last page");
    }
    return out;
}

}  // namespace kzpde
