#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kzpde {

// The pages of a job as IPP's page-ranges takes them: "N", "N-M" or "N-"
// pieces joined by commas, each 1 <= N <= M, in ascending order and not
// overlapping (a scheduler refuses anything else with the whole job). The
// text comes from a person or a settings file: bounded, checked whole.
class PageRanges {
public:
    static constexpr std::size_t kMaxText = 1024;
    static constexpr int kMaxRanges = 100;
    static constexpr long long kHighestPage = 2147483647;

    // The ranges in the form the job carries ("1-3,5-5,8-2147483647"), or
    // nothing with the reason in *why. Blanks around pieces are allowed.
    static std::optional<std::string> normalized(std::string_view text, std::string* why);
};

}  // namespace kzpde
